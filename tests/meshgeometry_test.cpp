#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "assets/eglbrush.h"
#include "assets/texture.h"
#include "support/ebrwriter.h"
#include "support/glfixture.h"

namespace {

using Triangles = std::vector<std::array<std::uint32_t, 3>>;

std::unique_ptr<CEGLBrush> loadMesh(const std::vector<CVector>& positions,
                                    const Triangles& triangles) {
    EbrWriter::TempFile file(EbrWriter().u32(1).mesh(positions, triangles));
    auto brush = std::make_unique<CEGLBrush>();
    EXPECT_TRUE(brush->loadFromFile(file.path()));
    return brush;
}

void expectNear(const CVector& actual, const CVector& expected, double tolerance = 1e-6) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

}  // namespace

TEST(CEGLMeshGeometry, OneTriangleNormal) {
    auto brush =
        loadMesh({makeVector(0, 0, 0), makeVector(1, 0, 0), makeVector(0, 1, 0)}, {{0, 1, 2}});
    CEGLMesh& mesh = *brush->meshes[0];
    mesh.calcNormals();
    for (int i = 0; i < 3; ++i) EXPECT_EQ(mesh.normals[i], makeVector(0, 0, 1)) << i;
}

// Vertex 0 is shared by a large triangle facing +z and a small one facing -y.
TEST(CEGLMeshGeometry, LargerTriangleWeighsMore) {
    auto brush = loadMesh({makeVector(0, 0, 0), makeVector(10, 0, 0), makeVector(0, 10, 0),
                           makeVector(1, 0, 0), makeVector(0, 0, 1)},
                          {{0, 1, 2}, {0, 3, 4}});
    CEGLMesh& mesh = *brush->meshes[0];
    mesh.calcNormals();
    const CVector& n = mesh.normals[0];
    EXPECT_LT(n.y, 0);
    EXPECT_GT(n.z, 10 * std::fabs(n.y));
    EXPECT_NEAR(n.length(), 1, 1e-6);
    expectNear(mesh.normals[3], makeVector(0, -1, 0));
}

// Normals start from zero each time; a vertex with no area around it keeps a zero normal.
TEST(CEGLMeshGeometry, NormalsRecomputedFromScratchWithoutNaN) {
    auto brush = loadMesh(
        {makeVector(0, 0, 0), makeVector(1, 0, 0), makeVector(0, 1, 0), makeVector(5, 5, 5),
         makeVector(1, 1, 0), makeVector(2, 2, 0), makeVector(3, 3, 0)},
        {{0, 1, 2}, {4, 5, 6}});
    CEGLMesh& mesh = *brush->meshes[0];
    for (int i = 0; i < mesh.normalCount; ++i) mesh.normals[i] = makeVector(9, 9, 9);
    mesh.calcNormals();
    CVector first[7];
    for (int i = 0; i < 7; ++i) first[i] = mesh.normals[i];
    mesh.calcNormals();
    for (int i = 0; i < 7; ++i) EXPECT_EQ(mesh.normals[i], first[i]) << i;
    EXPECT_EQ(first[0], makeVector(0, 0, 1));
    // Vertex 3 is in no triangle; 4 to 6 form a triangle of zero area.
    for (int i = 3; i < 7; ++i) EXPECT_EQ(first[i], CVector()) << i;
}

TEST(CEGLMeshGeometry, ScaleAndNegate) {
    auto brush = loadMesh({makeVector(0.1f, -0.2f, 0.3f), makeVector(1, 0, 0), makeVector(0, 1, 0)},
                          {{0, 1, 2}});
    CEGLMesh& mesh = *brush->meshes[0];
    mesh.calcNormals();
    const CVector normal = mesh.normals[0];

    mesh.scale(2);
    EXPECT_EQ(mesh.vertices[0], makeVector(0.2f, -0.4f, 0.6f));
    EXPECT_EQ(mesh.vertices[1], makeVector(2, 0, 0));
    EXPECT_EQ(mesh.basePositions[0], makeVector(0.1f, -0.2f, 0.3f));
    EXPECT_EQ(mesh.normals[0], normal);

    mesh.negateVertices();
    EXPECT_EQ(mesh.vertices[0], makeVector(-0.2f, 0.4f, -0.6f));
    EXPECT_EQ(mesh.normals[0], normal);
    mesh.negateVertices();
    EXPECT_EQ(mesh.vertices[0], makeVector(0.2f, -0.4f, 0.6f));
    EXPECT_EQ(mesh.vertices[2], makeVector(0, 2, 0));
}

TEST(CEGLMeshGeometry, TexCoordsFromNormals) {
    auto brush = loadMesh({makeVector(0, 0, 0), makeVector(1, 0, 0)}, {});
    CEGLMesh& mesh = *brush->meshes[0];
    mesh.normals[0] = makeVector(0, 0, 1);
    mesh.normals[1] = makeVector(1, 0, 0);
    brush->texCoordsFromNormals();
    EXPECT_EQ(mesh.texCoords[0][0], 0.5f);
    EXPECT_EQ(mesh.texCoords[0][1], 0.5f);
    EXPECT_EQ(mesh.texCoords[1][0], 1.0f);
    EXPECT_EQ(mesh.texCoords[1][1], 0.5f);
}

TEST(CEGLMeshGeometry, DistancesFromOrigin) {
    EbrWriter w;
    w.u32(2).mesh({makeVector(3, 4, 0), makeVector(0, 0, 0)}, {}).mesh({makeVector(0, -2, 0)}, {});
    EbrWriter::TempFile file(w);
    CEGLBrush brush;
    ASSERT_TRUE(brush.loadFromFile(file.path()));
    brush.calcDistances();
    EXPECT_EQ(brush.meshes[0]->vertexDistances[0], 5.0f);
    EXPECT_EQ(brush.meshes[0]->vertexDistances[1], 0.0f);
    EXPECT_EQ(brush.meshes[1]->vertexDistances[0], 2.0f);
}

using CEGLMeshGL = GLFixture;

// The mesh's texture object names the caller's texture but leaves releasing it to the caller.
TEST_F(CEGLMeshGL, SetTextureSharesTheNameWithoutOwningIt) {
    CTexture first, second;
    glGenTextures(1, &first.id);
    glGenTextures(1, &second.id);
    glBindTexture(GL_TEXTURE_2D, first.id);
    glBindTexture(GL_TEXTURE_2D, second.id);
    {
        auto brush = loadMesh({makeVector(0, 0, 0)}, {});
        CEGLMesh& mesh = *brush->meshes[0];
        mesh.setTexture(first);
        CTexture* own = mesh.texture.get();
        ASSERT_NE(own, nullptr);
        EXPECT_NE(own, &first);
        EXPECT_EQ(own->id, first.id);
        mesh.setTexture(second);
        EXPECT_EQ(mesh.texture.get(), own);
        EXPECT_EQ(own->id, second.id);
    }
    EXPECT_TRUE(glIsTexture(first.id));
    EXPECT_TRUE(glIsTexture(second.id));
}

// A vertex at the origin takes the wobble angles at once; one at distance 1 closes 1/1000 of
// the gap. Only the x angle turns the vertex.
TEST_F(CEGLMeshGL, WobbleChasesTimeDrivenAngles) {
    auto brush = loadMesh({makeVector(0, 0, 0), makeVector(0, 1, 0)}, {});
    CEGLMesh& mesh = *brush->meshes[0];
    brush->calcDistances();
    const float time = 0.5f;
    const CVector target(static_cast<float>(10.1 * time), static_cast<float>(2 * std::sin(0.6)),
                         static_cast<float>(2 * std::sin(0.5)));
    brush->drawWobble(time);
    EXPECT_EQ(mesh.vertexAngles[0], target);
    expectNear(mesh.vertexAngles[1], makeVector(target.x / 1000, target.y / 1000, target.z / 1000));
    const float a = mesh.vertexAngles[1].x;
    expectNear(mesh.vertices[1], makeVector(0, std::cos(a), std::sin(a)));
    EXPECT_EQ(mesh.basePositions[1], makeVector(0, 1, 0));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
