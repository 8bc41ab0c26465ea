#include "scenes/spikescene.h"
#include "core/show.h"

#include <GL/glu.h>

#include <cmath>
#include <vector>

#include "render/glowblur.h"
#include "support/scenekit.h"

namespace {

using SpikeScene = SceneKit;

// The object's own colour has green and the room none; the side pictures add at most 23.
Box objectIn(const Frame& frame) {
    return frame.where(1, 60);
}

// Where a point of the world lands on the frame through the scene's camera.
std::array<double, 2> onScreen(double x, double y, double z) {
    glLoadIdentity();
    gluLookAt(10, 10, 200, 0, 0, 0, 0, 1, 0);
    double modelview[16], projection[16], win[3];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    const GLint viewport[4] = {0, 0, kFrameWidth, kFrameHeight};
    gluProject(x, y, z, modelview, projection, viewport, &win[0], &win[1], &win[2]);
    return {win[0], win[1]};
}

// A side picture at 0.09 of its colour.
Placed faint(Box box, const char* picture) {
    Rgb c = pictureColour(picture);
    for (int& level : c) level = static_cast<int>(std::lround(level * 0.09));
    return {box, c};
}

// The object sits round the origin, and the bass pushes it by (5, -5, 0) per half unit.
TEST_F(SpikeScene, BassPushesTheObjectFromTheOrigin) {
    CSpikeScene scene;
    initScene(scene, "spike");
    frameAt(scene, 3, Spectrum::silent());
    Box still = objectIn(Frame::grab());
    frameAt(scene, 3, Spectrum::of({0.5f}));  // no time passes: the same shape, pushed
    Box pushed = objectIn(Frame::grab());
    auto centre = [](const Box& b) {
        return std::array<double, 2>{(b.x0 + b.x1) / 2.0, (b.y0 + b.y1) / 2.0};
    };
    auto origin = onScreen(0, 0, 0), moved = onScreen(5, -5, 0);
    for (int k = 0; k < 2; ++k) {
        EXPECT_NEAR(centre(still)[k], origin[k], 10) << still;
        EXPECT_NEAR(centre(pushed)[k] - centre(still)[k], moved[k] - origin[k], 5)
            << still << " -> " << pushed;
    }
}

// Where the object is, the frame's red is the glow's alone: the blurred corner stretched over
// the whole frame.
TEST_F(SpikeScene, GlowIsTheBlurredCornerStretchedOverTheFrame) {
    CSpikeScene scene;
    initScene(scene, "spike");
    frameAt(scene, 3, Spectrum::silent());
    Frame frame = Frame::grab();
    std::vector<unsigned char> glow(kGlowSize * kGlowSize * 3);
    glBindTexture(GL_TEXTURE_2D, scene.glowTex->id);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, glow.data());
    int checked = 0, bright = 0;
    for (int v = 8; v < kGlowSize - 8; ++v)
        for (int u = 8; u < kGlowSize - 8; ++u) {
            // The frame pixel whose centre is nearest to the texel's centre.
            int x = static_cast<int>((u + 0.5) * kFrameWidth / kGlowSize);
            int y = static_cast<int>((v + 0.5) * kFrameHeight / kGlowSize);
            bool sidePicture = y >= 197 && y < 453 && x >= 144 && x < 656;
            if (frame.at(x, y)[1] <= 60 || sidePicture) continue;
            int red = glow[(v * kGlowSize + u) * 3];
            ++checked;
            bright += red > 100 ? 1 : 0;
            EXPECT_NEAR(frame.at(x, y)[0], red, 12) << x << "," << y;
        }
    EXPECT_GT(checked, 50);
    EXPECT_GT(bright, 10);
}

// With the room, the object and its glow black, the frame holds the side pictures alone: at
// y = 197 while the band is silent, and at 0.5 the left one 40 pixels lower, the right one higher.
TEST_F(SpikeScene, SidePicturesFollowTheThirdBand) {
    CSpikeScene scene;
    initScene(scene, "spike");
    for (CTexture* texture : {scene.roomTex.get(), scene.spikeBaseTex.get(), scene.svTex.get()})
        blacken(texture);
    const struct {
        float s2;
        int left, right;
    } cases[] = {{0, 197, 197}, {0.5f, 157, 237}};
    for (const auto& c : cases) {
        frameAt(scene, 3, Spectrum::of({0, 0, c.s2}));
        EXPECT_EQ(
            Frame::grab().differsFromAdded({faint(Box::at(144, c.left, 256, 256), "gutt.jpg"),
                                            faint(Box::at(400, c.right, 256, 256), "jente.jpg")},
                                           2),
            "")
            << "s[2] = " << c.s2;
    }
}

TEST_F(SpikeScene, LeavesBlendOffWithDepthAndLightingOn) {
    CSpikeScene scene;
    initScene(scene, "spike");
    frameAt(scene, 3, Spectrum::constant(0.3f));
    EXPECT_EQ(GLStateProbe::read(),
              GLStateProbe::afterOverlays(GL_SRC_ALPHA, GL_ONE, scene.jenteTex->id));
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], kFrameWidth);
    EXPECT_EQ(viewport[3], kFrameHeight);
}

}  // namespace
