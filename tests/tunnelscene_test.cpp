#include "scenes/tunnelscene.h"
#include "core/show.h"

#include <GL/glu.h>

#include <cmath>
#include <vector>

#include "scenes/spikescene.h"
#include "support/scenekit.h"

namespace {

using TunnelScene = SceneKit;

const float kPi = 3.14159265f;
const int kTolerance = 6;  // what JPEG leaves of a solid colour

// The eye of a look-at matrix: minus its translation turned back by the transposed rotation.
CVector eyeOf(const float* m) {
    float eye[3];
    for (int j = 0; j < 3; ++j)
        eye[j] = -(m[j * 4] * m[12] + m[j * 4 + 1] * m[13] + m[j * 4 + 2] * m[14]);
    return CVector(eye[0], eye[1], eye[2]);
}

// The scene with everything but the named textures black, so that a test sees only what they
// texture and the untextured bars.
void keepOnly(CTunnelScene& scene, std::initializer_list<CTexture*> kept) {
    for (CTexture* texture : {scene.ruterTex.get(), scene.sv2Tex.get(), scene.test2Tex.get(),
                              scene.svTex.get(), scene.overlayTex.get()})
        if (std::find(kept.begin(), kept.end(), texture) == kept.end()) blacken(texture);
}

// How far bar pixels (half the bar colour over black) reach from the left edge along a row.
int barReach(const Frame& frame, int y) {
    int x = 0;
    while (x < Frame::kWidth) {
        Rgb c = frame.at(x, y);
        if (std::abs(c[0] - 128) > 2 || c[1] != 0 || std::abs(c[2] - 102) > 2) break;
        ++x;
    }
    return x;
}

TEST_F(TunnelScene, EyeSwingsWithTheSineOfTime) {
    CTunnelScene scene;
    initScene(scene, "tunnel");
    const struct {
        float t;
        CVector eye;
    } cases[] = {{0, {0, 0, 270}}, {kPi / 2, {70, 0, 320}}, {3 * kPi / 2, {-70, 0, 220}}};
    for (const auto& c : cases) {
        frameAt(scene, c.t, Spectrum::silent());
        float modelview[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
        CVector eye = eyeOf(modelview);
        EXPECT_NEAR(eye.x, c.eye.x, 1e-3) << "t = " << c.t;
        EXPECT_NEAR(eye.y, c.eye.y, 1e-3) << "t = " << c.t;
        EXPECT_NEAR(eye.z, c.eye.z, 1e-3) << "t = " << c.t;
    }
}

// With the 3D part black the frame holds the overlays alone: the text picture from 12.5 on,
// and no bars until the clock passes 25.3, which the float 25.3 does not.
TEST_F(TunnelScene, TextPictureFromTwelveAndAHalf) {
    CTunnelScene scene;
    initScene(scene, "tunnel");
    keepOnly(scene, {scene.overlayTex.get()});
    const Placed text = {Box::at(288, 0, 512, 512), pictureColour("overlay_on.jpg")};
    const struct {
        float t;
        bool shown;
    } cases[] = {{12.49f, false}, {12.5f, true}, {25.3f, true}};
    for (const auto& c : cases) {
        frameAt(scene, c.t, Spectrum::silent());
        std::vector<Placed> expected;
        if (c.shown) expected.push_back(text);
        EXPECT_EQ(Frame::grab().differsFromAdded(expected, kTolerance), "") << "t = " << c.t;
    }
}

// Bar k stands at the table's y, 30 rows high, and reaches m * s[k] along its bottom row and 20
// pixels further along its top row.
TEST_F(TunnelScene, BarsFromTheFirstFrameAfter25_3) {
    const int kY[6] = {520, 480, 440, 400, 360, 320}, kM[6] = {500, 520, 540, 570, 600, 630};
    const float after = std::nextafter(25.3f, 26.0f);
    const struct {
        float t, level;
        bool shown;
    } cases[] = {{25.3f, 0.5f, false}, {after, 0, true}, {after, 0.5f, true}};
    for (const auto& c : cases) {
        CTunnelScene scene;
        initScene(scene, "tunnel");
        keepOnly(scene, {});
        frameAt(scene, c.t, Spectrum::constant(c.level));
        Frame frame = Frame::grab();
        for (int k = 0; k < 6; ++k) {
            int length = c.shown ? static_cast<int>(kM[k] * c.level) : 0;
            EXPECT_EQ(barReach(frame, kY[k] + 29), c.shown ? length + 20 : 0) << k;
            EXPECT_NEAR(barReach(frame, kY[k]), length, 1) << k;
            EXPECT_EQ(barReach(frame, kY[k] - 1), 0) << k;
            EXPECT_EQ(barReach(frame, kY[k] + 30), 0) << k;
        }
    }
}

// Lit in its first layer's colour alone, the box fills what its vertices, scaled by 1.2, cover.
TEST_F(TunnelScene, MainViewBoxIsScaledByOnePointTwo) {
    CTunnelScene scene;
    initScene(scene, "tunnel");
    keepOnly(scene, {scene.test2Tex.get()});
    const float t = 2;
    frameAt(scene, t, Spectrum::silent());
    Box drawn = Frame::grab().where(0, 2);

    glLoadIdentity();
    float swing = std::sin(t);
    gluLookAt(swing * 70.0, 0, 270 + swing * 50.0, 0, 0, -200, 0, 1, 0);
    glTranslatef(0, 0, 100);
    glRotatef(t * 50, 0.5f, 1, 0);
    glScalef(1.2f, 1.2f, 1.2f);
    double modelview[16], projection[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    const GLint viewport[4] = {0, 0, kFrameWidth, kFrameHeight};
    double lo[2] = {1e9, 1e9}, hi[2] = {-1e9, -1e9};
    const CEGLMesh& shape = *scene.boxSlime->shape->meshes[0];
    for (int i = 0; i < shape.vertexCount; ++i) {
        const CVector& v = shape.vertices[i];
        double win[3];
        gluProject(v.x, v.y, v.z, modelview, projection, viewport, &win[0], &win[1], &win[2]);
        for (int k = 0; k < 2; ++k) {
            lo[k] = std::min(lo[k], win[k]);
            hi[k] = std::max(hi[k], win[k]);
        }
    }
    EXPECT_NEAR(drawn.x0, lo[0], 2) << drawn;
    EXPECT_NEAR(drawn.y0, lo[1], 2) << drawn;
    EXPECT_NEAR(drawn.x1 + 1, hi[0], 2) << drawn;
    EXPECT_NEAR(drawn.y1 + 1, hi[1], 2) << drawn;
}

// Unlit and unfogged the walls would show their texture's colour everywhere; the fog fades them
// to black from 700 units on, and is off again when the draw ends.
TEST_F(TunnelScene, FogFadesTheFarWallsAndIsLeftOff) {
    CTunnelScene scene;
    initScene(scene, "tunnel");
    keepOnly(scene, {scene.ruterTex.get()});
    frameAt(scene, 26, Spectrum::silent());
    Frame frame = Frame::grab();
    const Rgb walls = pictureColour("ruter.jpg");
    int full = 0, faded = 0;
    for (int y = 0; y < Frame::kHeight; y += 2)
        for (int x = 0; x < Frame::kWidth; x += 2) {
            Rgb c = frame.at(x, y);
            if (std::abs(c[0] - walls[0]) <= kTolerance && std::abs(c[1] - walls[1]) <= kTolerance)
                ++full;
            else if (c[0] > 40 && c[0] < 200 && std::abs(c[0] - 2 * c[1]) <= kTolerance)
                ++faded;
        }
    EXPECT_GT(full, 1000);
    EXPECT_GT(faded, 200);

    EXPECT_EQ(
        GLStateProbe::read(),
        GLStateProbe::afterOverlays(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, scene.overlayTex->id));
    GLint mode = 0;
    float start = 0, end = 0, colour[4] = {1, 1, 1, 0};
    glGetIntegerv(GL_FOG_MODE, &mode);
    glGetFloatv(GL_FOG_START, &start);
    glGetFloatv(GL_FOG_END, &end);
    glGetFloatv(GL_FOG_COLOR, colour);
    EXPECT_EQ(mode, GL_LINEAR);
    EXPECT_EQ(start, 700);
    EXPECT_EQ(end, 900);
    EXPECT_EQ(std::vector<float>(colour, colour + 4), (std::vector<float>{0, 0, 0, 1}));
}

// From 126.4 to 126.85 s the spike room is drawn first and the tunnel over it in the same frame:
// the tunnel's clears leave nothing of the room, while the room's slime keeps moving.
TEST_F(TunnelScene, OverlapFrameShowsTheTunnelAloneWhileTheSpikeSlimeMoves) {
    const float dt = 1 / 30.0f;
    const Spectrum music = Spectrum::of({0.4f, 0.3f, 0.2f, 0.1f, 0.2f, 0.3f});
    CTunnelScene alone;
    initScene(alone, "tunnel");
    frameAt(alone, dt, music);
    Frame tunnelAlone = Frame::grab();

    CSpikeScene spike;
    initScene(spike, "spike");
    CTunnelScene tunnel;
    initScene(tunnel, "tunnel");
    frameAt(spike, 25.3f, music);
    const CEGLMesh& slime = *spike.spikeSlime->shape->meshes[0];
    const CVector* vertices = &slime.vertices[0];
    std::vector<CVector> before(vertices, vertices + slime.vertexCount);
    frameAt(spike, 25.3f + dt, music);
    drawOver(tunnel, dt, music);
    EXPECT_TRUE(Frame::grab() == tunnelAlone);
    EXPECT_FALSE(std::equal(before.begin(), before.end(), vertices));
}

}  // namespace
