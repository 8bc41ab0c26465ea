#include "scenes/greetingsscene.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/random.h"
#include "support/scenekit.h"

namespace {

const int kTolerance = 6;  // what JPEG leaves of a solid colour

void expectNear(const CVector& got, const CVector& expected, const std::string& what) {
    EXPECT_FLOAT_EQ(got.x, expected.x) << what;
    EXPECT_FLOAT_EQ(got.y, expected.y) << what;
    EXPECT_FLOAT_EQ(got.z, expected.z) << what;
}

std::vector<double> unitsFrom(unsigned int seed, int count) {
    seedRandom(seed);
    std::vector<double> r;
    for (int i = 0; i < count; ++i) r.push_back(randomUnit());
    return r;
}

class GreetingsScene : public SceneKit {
protected:
    // Fewer particles where a test looks at something else: frames are cheaper and the pictures
    // and the floor are left alone in the frame.
    static void initWith(CGreetingsScene& scene, int particles) {
        scene.particleCount = particles;
        initScene(scene, "greetings");
    }
};

void step(CGreetingsScene& scene, float t, float dt) {
    scene.localTime = t;
    scene.deltaTime = dt;
    scene.update();
}

// Steps of 1/8 s and positions on binary fractions: the expected values are exact.
TEST_F(GreetingsScene, ParticleFallsBouncesAndIsReemitted) {
    struct Case {
        const char* what;
        CVector p, v;
        float age;
        CVector p1, v1;
        float age1;
    };
    const Case cases[] = {
        {"free flight", {1, 50, 2}, {2, 4, -8}, 1, {1.25f, 50.109375f, 1}, {2, 0.875f, -8}, 1.125f},
        {"age reaching exactly 7 is kept",
         {0, 10, 0},
         {0, 0, 0},
         6.875f,
         {0, 9.609375f, 0},
         {0, -3.125f, 0},
         7},
        // Moves with the new velocity to y = -0.640625, then bounces with it.
        {"bounce below the floor",
         {0, 1, 0},
         {5, -10, 5},
         2,
         {0.625f, 0.1f, 0.625f},
         {2, 7.875f, 2},
         2.125f},
    };
    CGreetingsScene scene;
    initWith(scene, 1);
    for (const Case& c : cases) {
        scene.positions[0] = c.p;
        scene.velocities[0] = c.v;
        scene.ages[0] = c.age;
        step(scene, 3, 0.125f);
        expectNear(scene.positions[0], c.p1, std::string(c.what) + ": position");
        expectNear(scene.velocities[0], c.v1, std::string(c.what) + ": velocity");
        EXPECT_EQ(scene.ages[0], c.age1) << c.what;
    }

    // A seed whose fourth number makes the new age exceed 7: re-emitted again at the next step.
    unsigned int seed = 1;
    while (unitsFrom(seed, 4)[3] * 15 < 7.5) ++seed;
    const std::vector<double> r = unitsFrom(seed, 8);
    seedRandom(seed);
    scene.positions[0] = CVector(5, 5, 5);
    scene.ages[0] = 6.95f;
    step(scene, 3, 0.125f);
    CVector v(static_cast<float>(r[0] * 40 * std::cos(3.0)), r[1] * 10 - 3.125f,
              static_cast<float>(r[2] * 40 * std::sin(3.0)));
    expectNear(scene.velocities[0], v, "re-emitted velocity");
    expectNear(scene.positions[0], CVector(v.x * 0.125f, 100 + v.y * 0.125f, v.z * 0.125f),
               "re-emitted position");
    EXPECT_FLOAT_EQ(scene.ages[0], r[3] * 15);
    step(scene, 3.125f, 0.125f);
    EXPECT_FLOAT_EQ(scene.velocities[0].x, static_cast<float>(r[4] * 40 * std::cos(3.125)));
    EXPECT_FLOAT_EQ(scene.ages[0], r[7] * 15) << "an age above 7 re-emits at the next step";
}

// The first velocity of a particle from three numbers, products and sums in double.
CVector velocityFrom(const std::vector<double>& r, size_t k) {
    return CVector(static_cast<float>(r[k] * 40.0 - 20), static_cast<float>(r[k + 1] * 10.0),
                   static_cast<float>(r[k + 2] * 40.0 - 20));
}

// Initialised first after seeding, the scene takes the first 6000 numbers, four per particle.
TEST_F(GreetingsScene, InitDrawsFourNumbersPerParticleInOrder) {
    const std::vector<double> r = unitsFrom(1337, 6001);
    seedRandom(1337);
    CGreetingsScene scene;
    initWith(scene, 1500);
    EXPECT_EQ(randomUnit(), r[6000]) << "init must draw exactly 6000 numbers";
    expectNear(scene.velocities[0], velocityFrom(r, 0), "first velocity");
    EXPECT_FLOAT_EQ(scene.ages[0], r[3] * 15);
    expectNear(scene.velocities[1499], velocityFrom(r, 5996), "last velocity");
    EXPECT_FLOAT_EQ(scene.ages[1499], r[5999] * 15);
    for (int i = 0; i < 1500; ++i) ASSERT_EQ(scene.positions[i], scene.emitter) << i;

    // The floor is doubled in size and lit from the doubled positions.
    ASSERT_EQ(scene.floorMesh->meshCount, 1);
    const CEGLMesh& floor = *scene.floorMesh->meshes[0];
    for (int k = 0; k < floor.vertexCount; ++k) {
        const CVector& base = floor.basePositions[k];
        ASSERT_EQ(floor.vertices[k], CVector(base.x * 2, base.y * 2, base.z * 2)) << k;
        ASSERT_NEAR(floor.normals[k].length(), 1, 1e-5) << k;
    }
}

bool sameWithin(const CVector& a, const CVector& b, float tolerance) {
    return std::abs(a.x - b.x) <= tolerance && std::abs(a.y - b.y) <= tolerance &&
           std::abs(a.z - b.z) <= tolerance;
}

TEST_F(GreetingsScene, CameraOrbitsJumpsOnBeatsThenStands) {
    {
        CGreetingsScene scene;
        initWith(scene, 0);
        runTo(scene, 2, 0.125f, Spectrum::silent());
        // One radian about the vertical axis from (100, 100, 200), +x turning toward +z.
        EXPECT_TRUE(
            sameWithin(scene.eye,
                       CVector(static_cast<float>(100 * std::cos(1) - 200 * std::sin(1)), 100,
                               static_cast<float>(100 * std::sin(1) + 200 * std::cos(1))),
                       1e-3f))
            << scene.eye.x << ", " << scene.eye.y << ", " << scene.eye.z;
        EXPECT_EQ(scene.target, CVector(0, 0, 0));
    }

    // A frame is a jump when the eye is not where the orbit alone would have taken it. With steps
    // of 1/32 s the 0.25 s timer runs out after 8 frames and is below zero after 9.
    CGreetingsScene scene;
    initWith(scene, 0);
    const float dt = 1.0f / 32;
    std::vector<int> jumps;
    for (int frame = 1; frame <= 64; ++frame) {
        CVector orbited = scene.eye;
        rotateY(orbited, dt * 0.5f);
        frameAt(scene, frame * dt, Spectrum::of({0.8f}));
        if (!sameWithin(scene.eye, orbited, 1e-3f)) jumps.push_back(frame);
    }
    EXPECT_EQ(jumps, (std::vector<int>{2, 11, 20, 29, 38, 47, 56}));

    // After the orbit the camera stands, and the beat no longer draws numbers for a jump.
    auto standing = [&] {
        return scene.eye == CVector(90, 35, 0) && scene.target == CVector(140, 0, 0);
    };
    frameAt(scene, 24.9f, Spectrum::of({0.8f}));
    EXPECT_FALSE(standing());
    const double unchangedSequence = unitsFrom(7, 1)[0];
    seedRandom(7);
    for (float t : {25.1f, 26.0f, 40.0f}) {
        frameAt(scene, t, Spectrum::of({0.8f}));
        EXPECT_TRUE(standing()) << "t = " << t;
    }
    EXPECT_EQ(randomUnit(), unchangedSequence);
}

// The greetings picture is the only red in a frame without particles; the floor adds none.
TEST_F(GreetingsScene, GreetingsPictureFillsItsBoxInTheSecondHalf) {
    struct Case {
        float t, s0, s3;
        Box box;
    };
    const Case cases[] = {
        {20, 0, 0, Box()},
        {25.0f, 1, 0.5f, Box()},
        {30, 0, 0, Box::at(0, 88, 512, 512)},
        {30, 1, 0.5f, Box::at(0, 87, 518, 522)},
        // Truncated toward zero; a level below zero, which the music never gives, brings the top
        // edge into the frame.
        {30, 0.95f, -1.3f, Box::at(0, 90, 517, 486)},
    };
    const Rgb greetings = pictureColour("overlay_greet.jpg");
    for (const Case& c : cases) {
        CGreetingsScene scene;
        initWith(scene, 0);
        frameAt(scene, c.t, Spectrum::of({c.s0, 0, 0, c.s3}));
        Frame frame = Frame::grab();
        Box visible = c.box;
        visible.y1 = std::min(visible.y1, Frame::kHeight - 1);
        EXPECT_EQ(frame.where(0, greetings[0] / 2), visible) << "t = " << c.t << ", s0 " << c.s0;
        int wrong = 0;
        for (int y = visible.y0; y <= visible.y1; ++y)
            for (int x = visible.x0; x <= visible.x1; ++x) {
                Rgb got = frame.at(x, y);
                wrong += std::abs(got[0] - greetings[0]) > kTolerance || got[1] < 255 - kTolerance;
            }
        EXPECT_EQ(wrong, 0) << "t = " << c.t << ", s0 " << c.s0;
    }
}

// The base layer covers half of what lies beneath, the second layer is added at 0.5 + s0 / 2,
// each in the colour of the texture bound for it.
TEST_F(GreetingsScene, FloorShowsBothLayersInTheirBoundTextures) {
    const Rgb base = pictureColour("ruter2.jpg");
    const Rgb layer = pictureColour("floortex.jpg");
    for (float s0 : {0.0f, 1.0f}) {
        CGreetingsScene scene;
        initWith(scene, 0);
        frameAt(scene, 20, Spectrum::of({s0}));
        Frame frame = Frame::grab();
        Rgb floor;
        for (int k = 0; k < 3; ++k)
            floor[k] = base[k] / 2 + static_cast<int>(layer[k] * (0.5 + s0 / 2));
        Box covered = frame.whereColour(floor, kTolerance);
        EXPECT_TRUE(covered.contains(400, 300)) << "s0 " << s0 << ": " << covered;
        int other = 0;
        for (int y = 0; y < Frame::kHeight; ++y)
            for (int x = 0; x < Frame::kWidth; ++x) {
                Rgb got = frame.at(x, y);
                bool black = got == Rgb{0, 0, 0};
                bool floorColour = true;
                for (int k = 0; k < 3; ++k)
                    floorColour = floorColour && std::abs(got[k] - floor[k]) <= kTolerance;
                other += !black && !floorColour;
            }
        EXPECT_EQ(other, 0) << "s0 " << s0;
    }
}

// One particle above the floor at the orbit's centre: its reflection lies below it, under the
// half-covering floor, and both fade with age (the reflection twice as fast).
TEST_F(GreetingsScene, ParticleAndItsReflectionFadeWithAge) {
    const Rgb floor = {0, 64, 64};
    for (float age : {1.0f, 5.0f}) {
        CGreetingsScene scene;
        initWith(scene, 1);
        frameAt(scene, 19.99f, Spectrum::silent());
        scene.positions[0] = CVector(0, 20, 0);
        scene.velocities[0] = CVector(0, 0, 0);
        scene.ages[0] = age;
        frameAt(scene, 20, Spectrum::silent());
        double own = std::min(1.0, 4.0 / age), mirrored = std::min(1.0, 2.0 / age);
        Rgb particle, reflection;
        for (int k = 0; k < 3; ++k) {
            particle[k] = std::min(255, floor[k] + static_cast<int>(255 * own));
            reflection[k] = floor[k] + static_cast<int>(255 * mirrored / 2);
        }
        Frame frame = Frame::grab();
        Box above = frame.whereColour(particle, kTolerance);
        Box below = frame.whereColour(reflection, kTolerance);
        ASSERT_FALSE(above.empty()) << "age " << age;
        ASSERT_FALSE(below.empty()) << "age " << age;
        EXPECT_LT(below.y1, above.y0) << "age " << age << ": " << above << ", " << below;
    }
}

TEST_F(GreetingsScene, LeavesBlendOffDepthOnAndAdditiveBlend) {
    for (float t : {20.0f, 30.0f}) {
        CGreetingsScene scene;
        initWith(scene, 1500);
        frameAt(scene, t, Spectrum::silent());
        GLStateProbe state = GLStateProbe::read();
        GLStateProbe expected = state;
        expected.blend = false;
        expected.blendSrc = expected.blendDst = GL_ONE;
        expected.depthTest = expected.lighting = expected.texture2D = true;
        expected.texGenS = expected.texGenT = expected.fog = false;
        // The particles' texture, or the greetings picture drawn after them.
        expected.boundTexture =
            static_cast<int>(t < 25.1 ? scene.particleTex->id : scene.overlayTex->id);
        expected.matrixMode = GL_MODELVIEW;
        expected.modelviewDepth = expected.projectionDepth = expected.textureDepth = 1;
        EXPECT_EQ(state, expected) << "t = " << t;
    }
}

}  // namespace
