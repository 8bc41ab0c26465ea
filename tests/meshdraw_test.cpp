#include <gtest/gtest.h>

#include <memory>

#include "assets/eglbrush.h"
#include "assets/texture.h"
#include "support/ebrwriter.h"
#include "support/glfixture.h"

namespace {

using Pixel = std::array<int, 4>;
const Pixel kRed = {255, 0, 0, 255};

// A square from -0.5 to 0.5 facing +z: pixels 200 to 600 across and 150 to 450 up when drawn
// with identity matrices.
EbrWriter& squareMesh(EbrWriter& w, float shiftX = 0) {
    return w.mesh({makeVector(shiftX - 0.5f, -0.5f, 0), makeVector(shiftX + 0.5f, -0.5f, 0),
                   makeVector(shiftX + 0.5f, 0.5f, 0), makeVector(shiftX - 0.5f, 0.5f, 0)},
                  {{0, 1, 2}, {0, 2, 3}});
}

class MeshDraw : public GLFixture {
protected:
    void SetUp() override {
        GLFixture::SetUp();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        clearBlack();
    }

    std::unique_ptr<CEGLBrush> load(const EbrWriter& w) {
        EbrWriter::TempFile file(w);
        auto brush = std::make_unique<CEGLBrush>();
        EXPECT_TRUE(brush->loadFromFile(file.path()));
        for (const auto& mesh : brush->meshes) mesh->calcNormals();
        return brush;
    }

    static void flatRed() {
        glDisable(GL_LIGHTING);
        glDisable(GL_TEXTURE_2D);
        glColor3f(1, 0, 0);
    }

    // Inside the square, just inside its corners, and just outside each edge.
    static void expectSquareAt(int left) {
        EXPECT_EQ(pixel(left + 200, 300), kRed);
        EXPECT_EQ(pixel(left + 3, 153), kRed);
        EXPECT_EQ(pixel(left + 396, 446), kRed);
        EXPECT_EQ(pixel(left - 3, 300)[0], 0);
        EXPECT_EQ(pixel(left + 403, 300)[0], 0);
        EXPECT_EQ(pixel(left + 200, 147)[0], 0);
        EXPECT_EQ(pixel(left + 200, 453)[0], 0);
    }
};

}  // namespace

TEST_F(MeshDraw, DrawCoversTheMeshAndLeavesArraysOff) {
    auto brush = load(squareMesh(EbrWriter().u32(1)));
    flatRed();
    brush->draw();
    expectSquareAt(200);
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_NORMAL_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(MeshDraw, ImmediateDrawingCoversTheSamePixels) {
    auto brush = load(squareMesh(EbrWriter().u32(1)));
    flatRed();
    brush->drawImmediate();
    expectSquareAt(200);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// Lit from +z by the default light, the computed normals make the square bright.
TEST_F(MeshDraw, ComputedNormalsLightTheMesh) {
    auto brush = load(squareMesh(EbrWriter().u32(1)));
    glDisable(GL_TEXTURE_2D);
    brush->draw();
    EXPECT_GT(pixel(400, 300)[0], 150);
    // Facing away from the light, the same square stays dark: the pixel follows the normals.
    for (int i = 0; i < 4; ++i) brush->meshes[0]->normals[i] = makeVector(0, 0, -1);
    clearBlack();
    brush->draw();
    EXPECT_LT(pixel(400, 300)[0], 50);
}

TEST_F(MeshDraw, EmptyMeshesAndBrushesDrawNothing) {
    CEGLBrush empty;
    auto noTriangles = load(EbrWriter().u32(1).mesh({makeVector(0, 0, 0)}, {}));
    flatRed();
    empty.draw();
    noTriangles->draw();
    EXPECT_EQ(pixel(400, 300)[0], 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// Each mesh of a brush is drawn; one without a texture keeps what the caller bound.
TEST_F(MeshDraw, BrushBindsOnlyMeshTextures) {
    EbrWriter w;
    auto brush = load(squareMesh(squareMesh(w.u32(2), -0.6f), 0.6f));
    CTexture callers, meshes;
    glGenTextures(1, &callers.id);
    glGenTextures(1, &meshes.id);
    glBindTexture(GL_TEXTURE_2D, callers.id);
    flatRed();
    brush->draw();
    EXPECT_EQ(pixel(400 - 240, 300), kRed);
    EXPECT_EQ(pixel(400 + 240, 300), kRed);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(GLuint(bound), callers.id);

    brush->meshes[1]->setTexture(meshes);
    brush->draw();
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(GLuint(bound), meshes.id);
}

TEST_F(MeshDraw, OutlinedDrawingLeavesItsState) {
    auto brush = load(squareMesh(EbrWriter().u32(1)));
    glDisable(GL_CULL_FACE);
    glColor3f(1, 1, 1);
    brush->drawOutlined(2);
    EXPECT_GT(pixel(400, 300)[0], 150);
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    GLint cull = 0, modes[2] = {};
    glGetIntegerv(GL_CULL_FACE_MODE, &cull);
    EXPECT_EQ(cull, GL_BACK);
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(modes[0], GL_FILL);
    EXPECT_EQ(modes[1], GL_LINE);
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(colour[0] + colour[1] + colour[2], 0.0f);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
