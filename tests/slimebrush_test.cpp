#include "render/slimebrush.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/ebrwriter.h"
#include "support/glfixture.h"
#include "support/messagerecorder.h"

namespace {

const float kPi = static_cast<float>(M_PI);

// Vertex 0 lies at distance 10, vertex 1 at 1, vertex 2 at the origin, vertex 3 at 2.
EbrWriter& slimeMesh(EbrWriter& w) {
    return w.mesh(
        {makeVector(10, 0, 0), makeVector(0, 1, 0), makeVector(0, 0, 0), makeVector(0, 0, 2)},
        {{2, 0, 1}});
}

class SlimeFile {
public:
    SlimeFile() : file(slimeMesh(EbrWriter().u32(1))) {}
    const char* path() const { return file.path(); }

private:
    EbrWriter::TempFile file;
};

const CVector& shapeVertex(const CSlimeBrush& slime, int i) {
    return slime.shape->meshes[0]->vertices[i];
}

void expectNear(const CVector& actual, const CVector& expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-6);
    EXPECT_NEAR(actual.y, expected.y, 1e-6);
    EXPECT_NEAR(actual.z, expected.z, 1e-6);
}

}  // namespace

TEST(CSlimeBrush, RestsUntilTheFirstStep) {
    SlimeFile file;
    CSlimeBrush slime(file.path());
    ASSERT_EQ(slime.source->meshCount, 1);
    EXPECT_EQ(slime.distances[0], 10.0f);
    EXPECT_EQ(slime.distances[2], 0.0f);
    EXPECT_EQ(slime.angles[1], CVector());
    // Lit from the start: the loader leaves normals unfilled.
    EXPECT_EQ(slime.shape->meshes[0]->normals[0], makeVector(0, 0, 1));

    slime.update(makeVector(0, 0, 0), 0.02f, 8);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(shapeVertex(slime, i), slime.source->meshes[0]->vertices[i]);
}

TEST(CSlimeBrush, AnglesChaseAtTheWrittenRate) {
    SlimeFile file;
    CSlimeBrush slime(file.path());
    slime.update(makeVector(1, 1, 1), 0.02f, 8);
    EXPECT_EQ(slime.angles[0].x, 0.625f);
    slime.update(makeVector(1, 1, 1), 0.02f, 8);
    EXPECT_EQ(slime.angles[0].x, 0.859375f);
    EXPECT_EQ(slime.angles[0].z, 0.859375f);
}

TEST(CSlimeBrush, NearerVerticesFollowCloser) {
    SlimeFile file;
    CSlimeBrush slime(file.path());
    // Rates 0.1 at distance 10 and 0.5 at distance 2.
    for (int step = 0; step < 3; ++step) slime.update(makeVector(1, 1, 1), 0.05f, 20);
    EXPECT_NEAR(slime.angles[0].y, 1 - std::pow(0.9, 3), 1e-6);
    EXPECT_NEAR(slime.angles[3].y, 1 - std::pow(0.5, 3), 1e-6);
}

// Rate 1 reaches the targets in one step; the vertex turns about X, then Y, then Z, and the
// normals follow the turned shape.
TEST(CSlimeBrush, RateOneReachesTheTargetsAndTurnsInOrder) {
    SlimeFile file;
    CSlimeBrush slime(file.path());
    const CVector target = makeVector(kPi / 2, kPi / 2, 0);
    slime.update(target, 0.0625f, 16);
    EXPECT_EQ(slime.angles[1], target);
    expectNear(shapeVertex(slime, 1), makeVector(-1, 0, 0));
    // The triangle (origin, +x, +y) turned this way faces -y.
    expectNear(slime.shape->meshes[0]->normals[2], makeVector(0, -1, 0));
}

// Every step rebuilds each vertex from its rest position with exactly the vector rotations, also
// when targets repeat a component as in the show.
TEST(CSlimeBrush, VerticesAreTheRestPositionsTurnedByTheirAngles) {
    SlimeFile file;
    CSlimeBrush slime(file.path());
    for (int step = 1; step <= 5; ++step) {
        float t = 0.3f * step;
        slime.update(makeVector(0.2f * t, t, t), 0.05f, 20);
        for (int i = 0; i < 4; ++i) {
            CVector p = slime.source->meshes[0]->vertices[i];
            p.rotateX(slime.angles[i].x);
            p.rotateY(slime.angles[i].y);
            p.rotateZ(slime.angles[i].z);
            EXPECT_EQ(shapeVertex(slime, i), p) << "step " << step << " vertex " << i;
        }
    }
}

TEST(CSlimeBrush, VertexAtTheOriginFollowsAtOnce) {
    SlimeFile file;
    CSlimeBrush slime(file.path());
    slime.update(makeVector(0.5f, -2, 3), 0.02f, 8);
    EXPECT_EQ(slime.angles[2], makeVector(0.5f, -2, 3));
    EXPECT_EQ(shapeVertex(slime, 2), CVector());
    EXPECT_FALSE(std::isnan(slime.shape->meshes[0]->normals[2].x));
}

TEST(CSlimeBrush, FrameTimeThreshold) {
    SlimeFile file;
    CSlimeBrush still(file.path());
    still.update(makeVector(1, 1, 1), 0.01f, 8);
    EXPECT_EQ(still.angles[0], CVector());
    EXPECT_EQ(shapeVertex(still, 1), makeVector(0, 1, 0));

    CSlimeBrush moving(file.path());
    moving.update(makeVector(1, 1, 1), 0.0101f, 8);
    EXPECT_GT(moving.angles[0].x, 0);
    EXPECT_FALSE(shapeVertex(moving, 1) == makeVector(0, 1, 0));
}

// At 144 frames a second every frame is below the threshold; two of them make one step whose
// frame time is their sum. A longer frame keeps its own step and drops what was gathered.
TEST(CSlimeBrush, ShortFramesAddUp) {
    SlimeFile file;
    CSlimeBrush slime(file.path());
    const float frame = 1.0f / 144;
    slime.update(makeVector(1, 1, 1), frame, 8);
    EXPECT_EQ(slime.angles[0].x, 0);
    slime.update(makeVector(1, 1, 1), frame, 8);
    const float sum = frame + frame;
    const float rate = static_cast<float>(1 / (static_cast<double>(sum) * 10 * 8));
    EXPECT_EQ(slime.angles[0].x, rate);

    CSlimeBrush other(file.path());
    other.update(makeVector(1, 1, 1), 0.005f, 8);
    other.update(makeVector(1, 1, 1), 0.02f, 8);
    EXPECT_EQ(other.angles[0].x, 0.625f);
    other.update(makeVector(1, 1, 1), 0.005f, 8);
    EXPECT_EQ(other.angles[0].x, 0.625f);
}

TEST(CSlimeBrush, OnlyTheFirstMeshMoves) {
    EbrWriter w;
    slimeMesh(w.u32(2)).mesh({makeVector(0, 3, 0)}, {});
    EbrWriter::TempFile file(w);
    CSlimeBrush slime(file.path());
    slime.update(makeVector(1, 1, 1), 0.0625f, 16);
    EXPECT_FALSE(shapeVertex(slime, 1) == makeVector(0, 1, 0));
    EXPECT_EQ(slime.shape->meshes[1]->vertices[0], makeVector(0, 3, 0));
}

// Missing, damaged and mesh-less files all leave an object that does nothing, without crashing.
TEST(CSlimeBrush, UnusableFilesGiveAnInertObject) {
    EbrWriter damaged;
    slimeMesh(damaged.u32(1)).bytes.pop_back();
    EbrWriter::TempFile damagedFile(damaged);
    EbrWriter::TempFile emptyFile(EbrWriter().u32(0));
    const char* paths[] = {"/nonexistent/slime.ebr", damagedFile.path(), emptyFile.path()};
    for (const char* path : paths) {
        SCOPED_TRACE(path);
        MessageRecorder messages;
        CSlimeBrush slime(path);
        slime.update(makeVector(1, 1, 1), 0.02f, 8);
        slime.draw();
        EXPECT_EQ(slime.distances, nullptr);
        EXPECT_EQ(slime.angles, nullptr);
    }
}

using CSlimeBrushGL = GLFixture;

// Drawn before any step, the shape is already lit; a second mesh of the file is not drawn.
TEST_F(CSlimeBrushGL, DrawsTheLitFirstMeshOnly) {
    EbrWriter w;
    w.u32(2)
        .mesh({makeVector(-0.2f, -0.2f, 0), makeVector(0.2f, -0.2f, 0), makeVector(0, 0.2f, 0)},
              {{0, 1, 2}})
        .mesh({makeVector(0.5f, -0.2f, 0), makeVector(0.9f, -0.2f, 0), makeVector(0.7f, 0.2f, 0)},
              {{0, 1, 2}});
    EbrWriter::TempFile file(w);
    CSlimeBrush slime(file.path());
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_TEXTURE_2D);
    clearBlack();
    slime.draw();
    EXPECT_GT(pixel(400, 290)[0], 150);
    EXPECT_EQ(pixel(400 + 280, 290)[0], 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
