#include "assets/pngbind.h"

#include <png.h>
#include <sys/resource.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

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

using Chunk = std::pair<std::string, Bytes>;

const Bytes kPattern = pixelRows({{1, 2, 3}, {4, 5, 6}}, 3, 3);  // 3 by 2, top row first

// The 3 by 2 pattern with these chunks right after IHDR, each with a good checksum.
std::string withChunks(const std::vector<Chunk>& chunks) {
    Bytes file = readBytes(png(3, 2, PNG_COLOR_TYPE_RGB, kPattern));
    Bytes inserted;
    for (const Chunk& chunk : chunks) {
        Bytes bytes;
        for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(chunk.second.size() >> shift);
        bytes.insert(bytes.end(), chunk.first.begin(), chunk.first.end());
        bytes.insert(bytes.end(), chunk.second.begin(), chunk.second.end());
        uint32_t crc = crc32(0, bytes.data() + 4, static_cast<uInt>(bytes.size() - 4));
        for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(crc >> shift & 0xFF);
        inserted.insert(inserted.end(), bytes.begin(), bytes.end());
    }
    file.insert(file.begin() + 33, inserted.begin(), inserted.end());
    std::string path = tempPath("chunks.png");
    writeBytes(path, file);
    return path;
}

// A text chunk of `bytes` bytes: a one-letter keyword and filler.
Chunk text(size_t bytes) {
    Bytes data = {'k', 0};
    data.resize(bytes, 'x');
    return {"tEXt", data};
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
    {"text chunk over the limit", [] { return withChunks({text((1 << 20) + 1)}); }},
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

constexpr uint32_t kAdlerBase = 65521;

void put32(Bytes& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<unsigned char>(value >> (24 - 8 * i));
}

uint32_t adlerOf(const Bytes& bytes) {
    return adler32(adler32(0, nullptr, 0), bytes.data(), static_cast<uInt>(bytes.size()));
}

uint32_t crcOf(const Bytes& bytes) {
    return crc32(crc32(0, nullptr, 0), bytes.data(), static_cast<uInt>(bytes.size()));
}

// The nearest signed step that moves an Adler sum from `now` to `wanted`.
int64_t adlerStep(uint32_t wanted, uint32_t now) {
    int64_t step = (int64_t(wanted) - int64_t(now)) % kAdlerBase;
    if (step < 0) step += kAdlerBase;
    return step > kAdlerBase / 2 ? step - kAdlerBase : step;
}

// Moves the Adler-32 of `bytes` to `wanted` by changing bytes from `from` on (all 0x80 there): the
// low sum byte by byte, then the high one with pairs of opposite changes, which leave the low one.
void matchAdler(Bytes& bytes, uint32_t wanted, size_t from) {
    size_t at = from;
    for (int64_t low = adlerStep(wanted & 0xFFFF, adlerOf(bytes) & 0xFFFF); low != 0; ++at) {
        int64_t change = std::clamp<int64_t>(low, -127, 127);
        bytes[at] = static_cast<unsigned char>(bytes[at] + change);
        low -= change;
    }
    at = from + 400;
    for (int64_t high = adlerStep(wanted >> 16, adlerOf(bytes) >> 16); high != 0; at += 2) {
        int64_t change = std::clamp<int64_t>(high, -127, 127);
        bytes[at] = static_cast<unsigned char>(bytes[at] + change);
        bytes[at + 1] = static_cast<unsigned char>(bytes[at + 1] - change);
        high -= change;
    }
}

// Moves the CRC-32 of `bytes` to `wanted` by flipping the low bits of some of the 64 four-byte
// windows from `from` on, each 0x40 0x41 0x41 0x40: a flip adds 1, -1, -1, 1, which keeps the
// Adler sums, and the CRC is linear in the flips, so the flips to make solve a GF(2) system.
void matchCrc(Bytes& bytes, uint32_t wanted, size_t from) {
    uint32_t effect[32] = {};
    uint64_t flips[32] = {};
    uint32_t base = crcOf(bytes);
    for (int window = 0; window < 64; ++window) {
        Bytes flipped = bytes;
        for (int i = 0; i < 4; ++i) flipped[from + 4 * window + i] ^= 1;
        uint32_t e = crcOf(flipped) ^ base;
        uint64_t f = uint64_t(1) << window;
        for (int bit = 31; bit >= 0 && e != 0; --bit) {
            if (!(e >> bit & 1)) continue;
            if (effect[bit] == 0) {
                effect[bit] = e, flips[bit] = f;
                break;
            }
            e ^= effect[bit], f ^= flips[bit];
        }
    }
    uint64_t chosen = 0;
    uint32_t missing = base ^ wanted;
    for (int bit = 31; bit >= 0; --bit)
        if (missing >> bit & 1) missing ^= effect[bit], chosen ^= flips[bit];
    for (int window = 0; window < 64; ++window)
        if (chosen >> window & 1)
            for (int i = 0; i < 4; ++i) bytes[from + 4 * window + i] ^= 1;
}

// An ICC profile that libpng takes for the broken HP sRGB profile many real pictures carry: the
// length, rendering intent, blank ID and both checksums it looks for, around a minimal header.
Bytes knownIncorrectSrgbProfile() {
    Bytes profile(3144, 0x80);
    std::fill(profile.begin(), profile.begin() + 132, 0);
    put32(profile, 0, 3144);
    put32(profile, 8, 0x02100000);   // version 2.1
    put32(profile, 12, 0x6D6E7472);  // 'mntr'
    put32(profile, 16, 0x52474220);  // 'RGB '
    put32(profile, 20, 0x58595A20);  // 'XYZ '
    put32(profile, 36, 0x61637370);  // 'acsp'
    put32(profile, 68, 0x0000F6D6);  // the D50 illuminant
    put32(profile, 72, 0x00010000);
    put32(profile, 76, 0x0000D32D);
    for (size_t at = 1500; at < 1500 + 4 * 64; at += 4) put32(profile, at, 0x40414140);
    matchAdler(profile, 0xF784F3FB, 132);
    matchCrc(profile, 0x182EA552, 1500);
    EXPECT_EQ(adlerOf(profile), 0xF784F3FBu);
    EXPECT_EQ(crcOf(profile), 0x182EA552u);
    return profile;
}

Chunk iccp(const Bytes& profile) {
    Bytes data = {'s', 'R', 'G', 'B', 0, 0};
    uLongf size = compressBound(profile.size());
    Bytes packed(size);
    compress(packed.data(), &size, profile.data(), profile.size());
    data.insert(data.end(), packed.begin(), packed.begin() + size);
    return {"iCCP", data};
}

// What libpng says of the file when its warnings about chunks are errors.
std::string strictReadProblem(const std::string& path) {
    struct Reader {
        static void fail(png_structp png, png_const_charp message) {
            *static_cast<std::string*>(png_get_error_ptr(png)) = message;
            png_longjmp(png, 1);
        }
    };
    std::string problem;
    FILE* file = std::fopen(path.c_str(), "rb");
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, &problem, Reader::fail, nullptr);
    png_infop info = png_create_info_struct(png);
    if (!setjmp(png_jmpbuf(png))) {
        png_init_io(png, file);
        png_set_benign_errors(png, 0);
        png_read_info(png, info);
    }
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    return problem;
}

// Files that other programs open with a warning at most: their pixels are whole, so they load.
// The profile is that of 29 pictures of one game's data package, each refused until libpng's
// warnings were let pass.
TEST_F(PngBindTest, FilesWithHarmlessWarningsLoadWhole) {
    struct Case {
        const char* name;
        std::vector<Chunk> chunks;
        const char* warning;  // libpng's own, or null where only the loader's limits warn
    };
    const Chunk srgb = {"sRGB", {0}};
    const std::vector<Chunk> manyTexts(40, text(100));
    const Case cases[] = {
        {"known incorrect sRGB profile",
         {iccp(knownIncorrectSrgbProfile())},
         "iCCP: known incorrect sRGB profile"},
        {"a profile after an sRGB chunk",
         {srgb, iccp(knownIncorrectSrgbProfile())},
         "iCCP: too many profiles"},
        {"more text chunks than are kept", manyTexts, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = withChunks(c.chunks);
        if (c.warning != nullptr) {
            EXPECT_EQ(strictReadProblem(path), c.warning);
        }
        Loaded loaded = bindPng(path);
        ASSERT_NE(loaded.id, 0u) << pngBindProblem();
        EXPECT_STREQ(pngBindProblem(), "");
        EXPECT_EQ(levelZero(3, 2), pixelRows({{4, 5, 6, 255}, {1, 2, 3, 255}}, 3, 4));
    }
}

TEST_F(PngBindTest, ModesNotOfferedAreRefused) {
    std::string path = png(1, 1, PNG_COLOR_TYPE_RGB, {1, 2, 3});
    EXPECT_EQ(bindPng(path, PNG_ALPHA, -1).id, 0u);
    EXPECT_EQ(bindPng(path, 5).id, 0u);
}

}  // namespace
