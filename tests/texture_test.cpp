#include "assets/texture.h"

#include <png.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <iterator>

#include "support/glfixture.h"
#include "support/messagerecorder.h"
#include "support/picturefiles.h"

namespace {

using TextureTest = GLFixture;

GLint levelParameter(int level, GLenum name) {
    GLint value = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, name, &value);
    return value;
}

GLint parameter(GLenum name) {
    GLint value = -1;
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    return value;
}

Bytes levelZero(int width, int height, GLenum format, int channels) {
    Bytes pixels(static_cast<size_t>(width) * height * channels);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

// The first name a fresh context hands out: proves no earlier call generated one.
GLuint nextName() {
    GLuint name = 0;
    glGenTextures(1, &name);
    return name;
}

TEST_F(TextureTest, JpegBecomesALinearRepeatingTextureWithoutMipmaps) {
    std::string path = tempPath("square.jpg");
    writeJpeg(path, 256, 256,
              pixelRows(std::vector<std::vector<unsigned char>>(256, {9, 99, 199}), 256, 3));
    CTexture texture;
    ASSERT_TRUE(texture.load(path.c_str()));
    ASSERT_NE(texture.id, 0u);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), texture.id);
    EXPECT_EQ(levelParameter(0, GL_TEXTURE_WIDTH), 256);
    EXPECT_EQ(levelParameter(0, GL_TEXTURE_HEIGHT), 256);
    GLint internal = levelParameter(0, GL_TEXTURE_INTERNAL_FORMAT);
    EXPECT_TRUE(internal == 3 || internal == GL_RGB) << internal;
    EXPECT_EQ(levelParameter(1, GL_TEXTURE_WIDTH), 0);
    EXPECT_EQ(parameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(parameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(parameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(parameter(GL_TEXTURE_WRAP_T), GL_REPEAT);
}

// Five grey pixels a row are 15 bytes: only a packed upload keeps the rows apart.
TEST_F(TextureTest, GreyscaleOddWidthJpegUploadsBottomRowFirst) {
    std::string path = tempPath("grey.jpg");
    writeJpeg(path, 5, 3, pixelRows({{40}, {120}, {200}}, 5, 1), {JCS_GRAYSCALE, 1});
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    CTexture texture;
    ASSERT_TRUE(texture.load(path.c_str()));
    Bytes pixels = levelZero(5, 3, GL_RGB, 3);
    const int bottomUp[3] = {200, 120, 40};
    for (int y = 0; y < 3; ++y)
        for (int i = 0; i < 15; ++i)
            EXPECT_NEAR(pixels[y * 15 + i], bottomUp[y], 6) << y << "," << i;
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 4);
}

TEST_F(TextureTest, MissingJpegLeavesNoName) {
    MessageRecorder recorder;
    {
        CTexture texture;
        EXPECT_FALSE(texture.load("data/textures/absent.jpg"));
        EXPECT_EQ(texture.id, 0u);
    }
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].text,
              std::string("Unable to open data/textures/absent.jpg: ") + std::strerror(ENOENT));
    EXPECT_EQ(nextName(), 1u);
}

TEST_F(TextureTest, CorruptJpegLeavesNoName) {
    std::string path = tempPath("corrupt.jpg");
    writeBytes(path, Bytes(500, 0xFF));
    MessageRecorder recorder;
    CTexture texture;
    EXPECT_FALSE(texture.load(path.c_str()));
    EXPECT_EQ(texture.id, 0u);
    EXPECT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(nextName(), 1u);
}

TEST_F(TextureTest, EmptyTextureIsBlackWithDefaultWrap) {
    CTexture texture;
    ASSERT_TRUE(texture.createEmpty(128));
    EXPECT_EQ(levelParameter(0, GL_TEXTURE_WIDTH), 128);
    EXPECT_EQ(levelParameter(0, GL_TEXTURE_HEIGHT), 128);
    EXPECT_EQ(parameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(parameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(parameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(parameter(GL_TEXTURE_WRAP_T), GL_REPEAT);
    Bytes pixels = levelZero(128, 128, GL_RGB, 3);
    EXPECT_EQ(pixels, Bytes(pixels.size(), 0));
}

// Every way of filling a texture that already holds one gives the old name back to GL first,
// even when the new picture fails to load.
TEST_F(TextureTest, RefillingReleasesTheOldName) {
    std::string jpeg = tempPath("refill.jpg");
    writeJpeg(jpeg, 2, 2, Bytes(12, 200));
    std::string png = tempPath("refill.png");
    writePng(png, 1, 1, PNG_COLOR_TYPE_RGB_ALPHA, Bytes(4, 9));
    MessageRecorder recorder;
    const std::function<bool(CTexture&)> refills[] = {
        [&](CTexture& t) { return t.load(jpeg.c_str()); },
        [&](CTexture& t) { return t.load("data/textures/absent.jpg"); },
        [&](CTexture& t) { return t.loadPNG(png.c_str()); },
        [](CTexture& t) { return t.createEmpty(8); },
    };
    for (size_t i = 0; i < std::size(refills); ++i) {
        CTexture texture;
        ASSERT_TRUE(texture.createEmpty(4));
        GLuint old = texture.id;
        refills[i](texture);
        EXPECT_FALSE(glIsTexture(old) && texture.id != old) << "refill " << i;
    }
}

TEST_F(TextureTest, PngKeepsItsAlphaWithNearestFiltering) {
    std::string path = tempPath("alpha.png");
    // Top row opaque red, bottom row half-transparent green.
    writePng(path, 3, 2, PNG_COLOR_TYPE_RGB_ALPHA,
             pixelRows({{255, 0, 0, 255}, {0, 255, 0, 128}}, 3, 4));
    CTexture texture;
    ASSERT_TRUE(texture.loadPNG(path.c_str()));
    EXPECT_GT(levelParameter(0, GL_TEXTURE_ALPHA_SIZE), 0);
    EXPECT_EQ(parameter(GL_TEXTURE_MIN_FILTER), GL_NEAREST);
    EXPECT_EQ(parameter(GL_TEXTURE_MAG_FILTER), GL_NEAREST);
    EXPECT_EQ(parameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(levelZero(3, 2, GL_RGBA, 4), pixelRows({{0, 255, 0, 128}, {255, 0, 0, 255}}, 3, 4));
}

// The box says why, in the PNG library's words.
TEST_F(TextureTest, UnreadablePngShowsTheErrorBox) {
    std::string path = tempPath("notpng.png");
    writeBytes(path, Bytes(64, 7));
    MessageRecorder recorder;
    CTexture texture;
    EXPECT_FALSE(texture.loadPNG(path.c_str()));
    EXPECT_EQ(texture.id, 0u);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].text, "Unable to load PNG-texture " + path + ": Not a PNG file");
    EXPECT_EQ(recorder.boxes[0].caption, "CTexture::loadPNG");
    EXPECT_EQ(recorder.boxes[0].style, MessageBoxStyle::Error);
}

}  // namespace
