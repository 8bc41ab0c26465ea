#include "assets/pngbind.h"

#include <png.h>
#include <sys/resource.h>
#include <zlib.h>

#include <functional>

#include "support/glfixture.h"
#include "support/picturefiles.h"

namespace {

using PngBindTest = GLFixture;

struct Loaded {
    GLuint id;
    pngInfo info;
};

Loaded bindPng(const std::string& path, int trans = PNG_ALPHA, int mipmap = PNG_NOMIPMAPS) {
    Loaded loaded = {0, {9, 9, 9, 9}};
    loaded.id = pngBind(path.c_str(), mipmap, trans, &loaded.info, GL_CLAMP, GL_NEAREST, GL_LINEAR);
    return loaded;
}

Bytes levelZero(int width, int height) {
    Bytes pixels(static_cast<size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

std::string png(int width, int height, int type, const Bytes& pixels, int depth = 8) {
    std::string path = tempPath("picture.png");
    writePng(path, width, height, type, pixels, depth);
    return path;
}

TEST_F(PngBindTest, RgbFileUploadsBottomRowFirstWithTheGivenParameters) {
    Loaded loaded = bindPng(png(3, 2, PNG_COLOR_TYPE_RGB, pixelRows({{1, 2, 3}, {4, 5, 6}}, 3, 3)));
    ASSERT_NE(loaded.id, 0u);
    EXPECT_EQ(loaded.info.width, 3u);
    EXPECT_EQ(loaded.info.height, 2u);
    EXPECT_EQ(loaded.info.depth, 8u);
    EXPECT_EQ(loaded.info.alpha, 0u);
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &value);
    EXPECT_EQ(value, GL_CLAMP);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &value);
    EXPECT_EQ(value, GL_LINEAR);
    EXPECT_EQ(levelZero(3, 2), pixelRows({{4, 5, 6, 255}, {1, 2, 3, 255}}, 3, 4));
}

TEST_F(PngBindTest, GreyWithAlphaAndSixteenBitsBecomeEightBitRgba) {
    Loaded loaded = bindPng(png(2, 1, PNG_COLOR_TYPE_GRAY_ALPHA, {50, 60, 70, 80}, 16));
    ASSERT_NE(loaded.id, 0u);
    EXPECT_EQ(loaded.info.depth, 16u);
    EXPECT_EQ(loaded.info.alpha, 8u);
    EXPECT_EQ(levelZero(2, 1), Bytes({50, 50, 50, 60, 70, 70, 70, 80}));
}

TEST_F(PngBindTest, SolidModeDropsAlpha) {
    Loaded loaded = bindPng(png(1, 1, PNG_COLOR_TYPE_RGB_ALPHA, {9, 8, 7, 0}), PNG_SOLID);
    ASSERT_NE(loaded.id, 0u);
    EXPECT_EQ(loaded.info.alpha, 0u);
    EXPECT_EQ(levelZero(1, 1), Bytes({9, 8, 7, 255}));
}

// The IHDR chunk follows the 8-byte signature: length, type, then width and height.
std::string withHeaderSize(uint32_t width, uint32_t height) {
    Bytes file = readBytes(png(4, 4, PNG_COLOR_TYPE_RGB, Bytes(48, 3)));
    const unsigned char size[8] = {
        static_cast<unsigned char>(width >> 24),  static_cast<unsigned char>(width >> 16),
        static_cast<unsigned char>(width >> 8),   static_cast<unsigned char>(width),
        static_cast<unsigned char>(height >> 24), static_cast<unsigned char>(height >> 16),
        static_cast<unsigned char>(height >> 8),  static_cast<unsigned char>(height)};
    std::copy(size, size + 8, file.begin() + 16);
    uint32_t crc = crc32(0, file.data() + 12, 17);
    for (int i = 0; i < 4; ++i) file[29 + i] = static_cast<unsigned char>(crc >> (24 - 8 * i));
    std::string path = tempPath("patched.png");
    writeBytes(path, file);
    return path;
}

std::string cut(size_t keep) {
    Bytes file = readBytes(png(16, 16, PNG_COLOR_TYPE_RGB, Bytes(768, 200)));
    file.resize(keep);
    std::string path = tempPath("cut.png");
    writeBytes(path, file);
    return path;
}

// `count` chunks of `type` holding `data`, each with a good checksum, right after IHDR.
std::string withChunks(const char* type, size_t bytes, int count) {
    Bytes file = readBytes(png(4, 4, PNG_COLOR_TYPE_RGB, Bytes(48, 3)));
    Bytes chunk;
    for (int shift = 24; shift >= 0; shift -= 8) chunk.push_back(bytes >> shift & 0xFF);
    chunk.insert(chunk.end(), type, type + 4);
    chunk.insert(chunk.end(), {'k', 0});
    chunk.resize(8 + bytes, 'x');
    uint32_t crc = crc32(0, chunk.data() + 4, static_cast<uInt>(chunk.size() - 4));
    for (int shift = 24; shift >= 0; shift -= 8) chunk.push_back(crc >> shift & 0xFF);
    for (int i = 0; i < count; ++i) file.insert(file.begin() + 33, chunk.begin(), chunk.end());
    std::string path = tempPath("chunks.png");
    writeBytes(path, file);
    return path;
}

struct BadPng {
    const char* name;
    std::function<std::string()> make;
};

const BadPng kBadPngs[] = {
    {"missing", [] { return std::string("/nonexistent/picture.png"); }},
    {"empty", [] { return cut(0); }},
    {"signature only", [] { return cut(8); }},
    {"cut inside the pixels", [] { return cut(50); }},
    {"garbage",
     [] {
         std::string path = tempPath("garbage.png");
         writeBytes(path, Bytes(200, 0x42));
         return path;
     }},
    {"side over the limit", [] { return withHeaderSize(100000, 4); }},
    {"pixels over the budget", [] { return withHeaderSize(8000, 8000); }},
    {"zero width", [] { return withHeaderSize(0, 4); }},
    // Text the loader never uses may cost a little memory, never gigabytes.
    {"2 GB text chunk",
     [] { return std::string(VEXMORO_REGRESSIONS) + "/png/png-text-2GB-chunk.png"; }},
    {"text chunk over the limit", [] { return withChunks("tEXt", (1 << 20) + 1, 1); }},
    {"more text chunks than are kept", [] { return withChunks("tEXt", 100, 40); }},
};

TEST_F(PngBindTest, MalformedFilesGiveNoTexture) {
    for (const BadPng& bad : kBadPngs) {
        SCOPED_TRACE(bad.name);
        EXPECT_EQ(bindPng(bad.make()).id, 0u);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    EXPECT_LT(usage.ru_maxrss, 512 * 1024) << "peak memory in KiB";
    GLuint next = 0;
    glGenTextures(1, &next);
    EXPECT_EQ(next, 1u) << "a refused file generated a texture name";
}

TEST_F(PngBindTest, ModesNotOfferedAreRefused) {
    std::string path = png(1, 1, PNG_COLOR_TYPE_RGB, {1, 2, 3});
    EXPECT_EQ(bindPng(path, PNG_ALPHA, -1).id, 0u);
    EXPECT_EQ(bindPng(path, 5).id, 0u);
}

}  // namespace
