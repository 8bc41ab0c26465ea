#include "scenes/creditsscene.h"

#include <cmath>
#include <vector>

#include "support/scenekit.h"

namespace {

using CreditsScene = SceneKit;

const int kTolerance = 6;  // what JPEG leaves of a solid colour

// The sway the scene gives the large picture at local time t.
Box largeBox(float t, float s4) {
    int dx = static_cast<int>((std::sin(0.2 * t) + s4) * 40);
    int dy = static_cast<int>((std::cos(0.25 * t) + s4) * 40);
    return Box::at(144 + dx, 44 + dy, 512, 512);
}

struct CreditPlace {
    const char* file;
    int x, y;
};
const CreditPlace kCreditPlaces[] = {{"music.jpg", 400, 300},
                                     {"coding.jpg", 100, 70},
                                     {"tolvi.jpg", 50, 310},
                                     {"brisel.jpg", 480, 10},
                                     {"quander.jpg", 320, 190}};

// The credits that have come in by local time t, each at its place.
std::vector<Placed> creditsBy(float t) {
    const double from[] = {38.2, 41.3, 44.2, 44.2, 44.2};
    std::vector<Placed> shown;
    for (size_t i = 0; i < std::size(kCreditPlaces); ++i)
        if (t >= from[i])
            shown.push_back({Box::at(kCreditPlaces[i].x, kCreditPlaces[i].y, 256, 256),
                             pictureColour(kCreditPlaces[i].file)});
    return shown;
}

TEST_F(CreditsScene, SilentMusicShowsNothing) {
    CCreditsScene scene;
    initScene(scene, "credits");
    for (float t : {5.0f, 20.0f, 30.0f, 45.0f}) {
        frameAt(scene, t, Spectrum::silent());
        EXPECT_EQ(Frame::grab().differsFromAdded({}, 0), "") << "t = " << t;
    }
}

// With bands 1 to 3 at 0.2 the alpha is 1.8, clamped to 1: every picture shows in full.
TEST_F(CreditsScene, PicturesFollowTheTimelineAtTheirPlaces) {
    struct Case {
        float t;
        const char* large;  // nullptr: no large picture
        float s4;
    };
    const Case cases[] = {{5, "logo.jpg", 0},      {20, "nor04.jpg", 0},   {30, "title.jpg", 0},
                          {38.3f, "title.jpg", 0}, {40, nullptr, 0},       {45, nullptr, 0},
                          {5, "logo.jpg", 0.5f},   {30, "title.jpg", 0.5f}};
    for (const Case& c : cases) {
        CCreditsScene scene;
        initScene(scene, "credits");
        frameAt(scene, c.t, Spectrum::of({0, 0.2f, 0.2f, 0.2f, c.s4}));
        std::vector<Placed> expected = creditsBy(c.t);
        if (c.large != nullptr) expected.push_back({largeBox(c.t, c.s4), pictureColour(c.large)});
        EXPECT_EQ(Frame::grab().differsFromAdded(expected, kTolerance), "")
            << "t = " << c.t << ", s[4] = " << c.s4;
    }
}

// The fifth band pushes the box 40 pixels per unit further along both axes.
TEST_F(CreditsScene, FifthBandMovesTheLargePicture) {
    CCreditsScene scene;
    initScene(scene, "credits");
    const Spectrum loud = Spectrum::of({0, 0.2f, 0.2f, 0.2f, 0});
    frameAt(scene, 5, loud);
    Box still = Frame::grab().where(0, 128);
    scene.localTime = 0;
    Spectrum pushed = loud;
    pushed.s[4] = 0.5f;
    frameAt(scene, 5, pushed);
    Box moved = Frame::grab().where(0, 128);
    EXPECT_EQ(moved.x0 - still.x0, 20);
    EXPECT_EQ(moved.y0 - still.y0, 20);
    EXPECT_EQ(moved.width(), 512);
}

TEST_F(CreditsScene, PartialOpacityScalesEveryPicture) {
    CCreditsScene scene;
    initScene(scene, "credits");
    frameAt(scene, 45, Spectrum::of({0.9f, 0.05f, 0.05f, 0.05f}));  // alpha 0.45
    Rgb music = Frame::grab().at(600, 500);
    EXPECT_NEAR(music[0], 255 * 0.45, 3);
    EXPECT_NEAR(music[1], 255 * 0.45, 3);
    EXPECT_EQ(music[2], 0);
}

TEST_F(CreditsScene, LeavesBlendOffWithLightingAndDepthOn) {
    CCreditsScene scene;
    initScene(scene, "credits");
    frameAt(scene, 45, Spectrum::constant(0.2f));
    GLStateProbe state = GLStateProbe::read();
    GLStateProbe expected = state;
    expected.blend = false;
    expected.blendSrc = GL_SRC_ALPHA;
    expected.blendDst = GL_ONE;
    expected.depthTest = expected.lighting = expected.texture2D = true;
    expected.texGenS = expected.texGenT = expected.fog = false;
    expected.boundTexture = static_cast<int>(scene.quanderTex->id);
    expected.matrixMode = GL_MODELVIEW;
    expected.modelviewDepth = expected.projectionDepth = expected.textureDepth = 1;
    EXPECT_EQ(state, expected);
}

}  // namespace
