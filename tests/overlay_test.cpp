#include "render/overlay.h"
#include "core/show.h"

#include "support/glfixture.h"

namespace {

using Rgba = std::array<int, 4>;
const Rgba kRed = {255, 0, 0, 255}, kBlue = {0, 0, 255, 255}, kBlack = {0, 0, 0, 255};

class OverlayTest : public GLFixture {
protected:
    void SetUp() override {
        GLFixture::SetUp();
        clearBlack();
        glColor4f(1, 1, 1, 1);
        // Two texels: bottom row (t = 0) red, top row blue.
        const unsigned char texels[] = {255, 0, 0, 0, 0, 255};
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 2, 0, GL_RGB, GL_UNSIGNED_BYTE, texels);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glBindTexture(GL_TEXTURE_2D, 0);
    }

    static bool enabled(GLenum cap) { return glIsEnabled(cap) == GL_TRUE; }

    GLuint texture = 0;
};

TEST_F(OverlayTest, TexturedQuadIsUprightAndCoversItsPixelsExactly) {
    beginOrtho(kFrameWidth, kFrameHeight);
    drawTexturedQuad(144, 44, 512, 512, texture);
    endOrtho();
    EXPECT_EQ(pixel(400, 100), kRed);
    EXPECT_EQ(pixel(400, 500), kBlue);
    for (auto [x, y] : {std::pair{144, 44}, {655, 44}, {144, 555}, {655, 555}})
        EXPECT_NE(pixel(x, y), kBlack) << x << "," << y;
    for (auto [x, y] : {std::pair{143, 300}, {656, 300}, {400, 43}, {400, 556}})
        EXPECT_EQ(pixel(x, y), kBlack) << x << "," << y;
    EXPECT_TRUE(enabled(GL_TEXTURE_2D));
}

TEST_F(OverlayTest, BlendedQuadIsMirroredAndLeavesBlendingOff) {
    glColor4f(0.5f, 0.5f, 0.5f, 0.5f);
    beginOrtho(kFrameWidth, kFrameHeight);
    drawBlendedQuad(0, 0, kFrameWidth, kFrameHeight, texture);
    endOrtho();
    EXPECT_EQ(pixel(400, 100), kBlue);
    EXPECT_EQ(pixel(400, 500), kRed);
    EXPECT_FALSE(enabled(GL_BLEND));
    GLint source = 0, destination = 0;
    glGetIntegerv(GL_BLEND_SRC, &source);
    glGetIntegerv(GL_BLEND_DST, &destination);
    EXPECT_EQ(source, GL_SRC_ALPHA);
    EXPECT_EQ(destination, GL_ONE_MINUS_SRC_ALPHA);
    float colour[4] = {};
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(colour[0], 1.0f);
    EXPECT_EQ(colour[3], 1.0f);
}

TEST_F(OverlayTest, EndOrthoTurnsLightingAndDepthOnAndLeavesTextureGenerationOff) {
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glTranslatef(1, 2, 3);
    GLint depths[2] = {};
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depths[0]);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depths[1]);

    beginOrtho(kFrameWidth, kFrameHeight);
    float matrix[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
    EXPECT_EQ(matrix[12], 0.0f);
    glGetFloatv(GL_PROJECTION_MATRIX, matrix);
    EXPECT_FLOAT_EQ(matrix[0], 2.0f / kFrameWidth);
    EXPECT_FLOAT_EQ(matrix[5], 2.0f / kFrameHeight);
    EXPECT_FALSE(enabled(GL_TEXTURE_GEN_S));
    endOrtho();

    EXPECT_TRUE(enabled(GL_LIGHTING));
    EXPECT_TRUE(enabled(GL_DEPTH_TEST));
    EXPECT_FALSE(enabled(GL_TEXTURE_GEN_S));
    EXPECT_FALSE(enabled(GL_TEXTURE_GEN_T));
    GLint mode = 0, after[2] = {};
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &after[0]);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &after[1]);
    EXPECT_EQ(after[0], depths[0]);
    EXPECT_EQ(after[1], depths[1]);
    glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
    EXPECT_EQ(matrix[12], 1.0f);
    EXPECT_EQ(matrix[14], 3.0f);
}

class BillboardTest : public OverlayTest {
protected:
    void SetUp() override {
        OverlayTest::SetUp();
        glDisable(GL_LIGHTING);  // the billboard must turn it back on
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-20, 20, -15, 15, 1, 100);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }

    // 20 pixels per unit: the square from (-5, -5) to (5, 5) covers x 300..499, y 200..399.
    static void expectBillboardSquare() {
        EXPECT_EQ(pixel(400, 210), kBlue) << "texture row t = 1 at the bottom";
        EXPECT_EQ(pixel(400, 390), kRed);
        for (auto [x, y] : {std::pair{300, 200}, {499, 399}})
            EXPECT_NE(pixel(x, y), kBlack) << x << "," << y;
        for (auto [x, y] : {std::pair{299, 300}, {500, 300}, {400, 199}, {400, 400}})
            EXPECT_EQ(pixel(x, y), kBlack) << x << "," << y;
    }
};

TEST_F(BillboardTest, IdentityModelviewGivesTheSquareAroundTheCentre) {
    drawBillboard(0, 0, -10, 5, texture);
    expectBillboardSquare();
    EXPECT_TRUE(enabled(GL_LIGHTING));
    EXPECT_TRUE(enabled(GL_TEXTURE_2D));
}

// Turned a quarter round, the same point in front of the viewer still shows the same square.
TEST_F(BillboardTest, FacesTheViewerWhateverTheRotation) {
    glRotatef(90, 0, 1, 0);
    drawBillboard(10, 0, 0, 5, texture);
    expectBillboardSquare();
}

}  // namespace
