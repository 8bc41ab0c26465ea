#include "scenes/endscene.h"

#include "support/scenekit.h"

namespace {

using EndScene = SceneKit;

const int kTolerance = 6;  // what JPEG leaves of a solid colour
const float kStep = 0.05f;

// The background alone (not under a square) shows its own colour; its bounds are the quad's.
TEST_F(EndScene, BackgroundIsAddedOverTheSquaresAndWidensWithTheBass) {
    const struct {
        float s0;
        int width;
    } cases[] = {{0, 512}, {0.5f, 529}};
    for (const auto& c : cases) {
        CEndScene scene;
        initScene(scene, "end");
        runTo(scene, 5, kStep, Spectrum::of({c.s0}));
        Frame frame = Frame::grab();
        EXPECT_EQ(frame.whereColour(pictureColour("bg.jpg"), kTolerance),
                  Box::at(144, 44, c.width, 512))
            << "s[0] = " << c.s0;
        EXPECT_FALSE(frame.whereColour({255, 255, 255}, kTolerance).empty())
            << "squares under the background add up to white";
        EXPECT_FALSE(frame.whereColour(pictureColour("gutt.jpg"), kTolerance).empty())
            << "squares outside the background";
    }
}

// The veil is drawn from t = 21 at an opacity that starts at 0 and grows by 0.2 per second;
// after 25.9 only the closing picture shows, fading in at 1 per second.
TEST_F(EndScene, VeilFallsThenTheClosingPictureFadesIn) {
    CEndScene scene;
    initScene(scene, "end");
    runTo(scene, 20.95f, kStep, Spectrum::silent());
    float dt = 21 - scene.localTime;
    frameAt(scene, 21, Spectrum::silent());
    Frame first = Frame::grab();
    EXPECT_EQ(first.whereColour(pictureColour("bg.jpg"), kTolerance).width(), 512)
        << "the veil's first frame hides nothing";
    EXPECT_NEAR(scene.fadeAlpha, 0.2 * dt, 1e-7);
    runTo(scene, 23, 0.5f, Spectrum::silent());
    float opacity = scene.fadeAlpha;
    EXPECT_NEAR(opacity, 0.2 * 2.05, 1e-5);
    frameAt(scene, 23.5f, Spectrum::silent());
    int brightest = static_cast<int>(255 * (1 - opacity));  // the background's red, veiled
    Frame veiled = Frame::grab();
    EXPECT_TRUE(veiled.where(0, brightest + 2).empty());
    EXPECT_FALSE(veiled.where(0, brightest - 2).empty());

    runTo(scene, 25.85f, kStep, Spectrum::silent());
    float driftBefore = scene.positions[0].x;
    frameAt(scene, 26.0f, Spectrum::silent());
    EXPECT_EQ(Frame::grab().differsFromAdded({}, 0), "") << "closing picture at opacity 0";
    frameAt(scene, 26.5f, Spectrum::silent());  // opacity 0.15
    Frame fading = Frame::grab();
    EXPECT_EQ(fading.where(1, 8), Box::at(144, 44, 512, 512));
    EXPECT_NEAR(fading.at(400, 300)[1], 128 * 0.15, 3);
    EXPECT_EQ(fading.at(400, 300)[0], 0) << "no squares or background any more";
    EXPECT_FLOAT_EQ(scene.positions[0].x, driftBefore + 10 * 0.65f) << "squares still drift";
}

TEST_F(EndScene, EachPhaseLeavesItsGLState) {
    CEndScene scene;
    initScene(scene, "end");
    GLStateProbe expected = GLStateProbe::read();
    expected.blend = expected.texGenS = expected.texGenT = expected.fog = false;
    expected.depthTest = expected.lighting = expected.texture2D = true;
    expected.matrixMode = GL_MODELVIEW;
    expected.clearColour = {0, 0, 0, 1};
    expected.modelviewDepth = expected.projectionDepth = expected.textureDepth = 1;
    const struct {
        float t;
        bool blend;
        int blendDst;
        GLuint texture;
    } phases[] = {{5, false, GL_ONE, scene.bgTex->id},
                  {22, false, GL_ONE_MINUS_SRC_ALPHA, scene.bgTex->id},
                  {27, true, GL_ONE, scene.endTex->id}};
    for (const auto& phase : phases) {
        runTo(scene, phase.t, 0.5f, Spectrum::constant(0.3f));
        expected.blend = phase.blend;
        expected.blendSrc = GL_SRC_ALPHA;
        expected.blendDst = phase.blendDst;
        expected.boundTexture = static_cast<int>(phase.texture);
        EXPECT_EQ(GLStateProbe::read(), expected) << "t = " << phase.t;
    }
}

}  // namespace
