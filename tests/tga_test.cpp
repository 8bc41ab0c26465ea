#include "assets/tga.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <utility>

#include "support/messagerecorder.h"
#include "support/picturefiles.h"

namespace {

// `descriptor`: the header's last byte (bit 5: rows from the top, bit 4: pixels from the right);
// `id`: the image ID, which lies between the header and the pixels.
Bytes tgaFile(int width, int height, int depth, const Bytes& pixels, unsigned char descriptor = 0,
              const std::string& id = "") {
    Bytes file(18 + id.size() + pixels.size(), 0);
    file[0] = static_cast<unsigned char>(id.size());
    file[2] = 2;  // uncompressed true colour
    file[12] = width & 0xFF, file[13] = width >> 8;
    file[14] = height & 0xFF, file[15] = height >> 8;
    file[16] = static_cast<unsigned char>(depth);
    file[17] = descriptor;
    std::copy(id.begin(), id.end(), file.begin() + 18);
    std::copy(pixels.begin(), pixels.end(), file.begin() + 18 + id.size());
    return file;
}

std::string saved(const Bytes& file) {
    std::string path = tempPath("picture.tga");
    writeBytes(path, file);
    return path;
}

TEST(CTGA, TwentyFourBitPixelsAreSwappedToRgb) {
    std::string path = saved(tgaFile(2, 1, 24, {10, 20, 30, 40, 50, 60}));
    CTGA tga;
    ASSERT_TRUE(tga.loadImage(path.c_str()));
    EXPECT_EQ(Bytes(tga.data.get(), tga.data.get() + 6), Bytes({30, 20, 10, 60, 50, 40}));
    EXPECT_EQ(tga.format, static_cast<GLenum>(GL_RGB));
    EXPECT_EQ(tga.width, 2);
    EXPECT_EQ(tga.height, 1);
    EXPECT_EQ(tga.bitsPerPixel, 24);
    EXPECT_EQ(tga.fileName, path);
}

TEST(CTGA, ThirtyTwoBitPixelsKeepAlphaInPlace) {
    std::string path = saved(tgaFile(1, 2, 32, {1, 2, 3, 4, 5, 6, 7, 8}));
    CTGA tga;
    ASSERT_TRUE(tga.loadImage(path.c_str()));
    EXPECT_EQ(Bytes(tga.data.get(), tga.data.get() + 8), Bytes({3, 2, 1, 4, 7, 6, 5, 8}));
    EXPECT_EQ(tga.format, static_cast<GLenum>(GL_RGBA));
}

// Each origin, with or without an image ID, loads as the same upright picture: bottom row first,
// left to right. Top-left files (the usual output of many programs) used to come out upside down.
TEST(CTGA, EveryOriginAndImageIdLoadsUpright) {
    // A 3 by 2 picture: top row a b c, bottom row d e f; pixel n is stored B, G, R(, A).
    auto pixels = [](std::initializer_list<int> order, int bytes) {
        Bytes stored;
        for (int n : order)
            for (int c = 0; c < bytes; ++c)
                stored.push_back(static_cast<unsigned char>(n + 10 * c));
        return stored;
    };
    enum { a = 1, b = 2, c = 3, d = 4, e = 5, f = 6 };
    struct Case {
        const char* name;
        unsigned char descriptor;
        std::initializer_list<int> order;  // the pixels as the file keeps them
        std::string id;
        int depth;
    };
    const Case cases[] = {
        {"bottom-left", 0x08, {d, e, f, a, b, c}, "", 32},
        {"top-left", 0x28, {a, b, c, d, e, f}, "", 32},
        {"top-left with an image ID", 0x28, {a, b, c, d, e, f}, "made by a paint program", 32},
        {"bottom-left with an image ID", 0x08, {d, e, f, a, b, c}, "x", 32},
        {"bottom-right", 0x18, {f, e, d, c, b, a}, "", 32},
        {"top-right", 0x38, {c, b, a, f, e, d}, "", 32},
        {"top-left, 24 bits", 0x20, {a, b, c, d, e, f}, "id", 24},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        int bytes = test.depth / 8;
        std::string path =
            saved(tgaFile(3, 2, test.depth, pixels(test.order, bytes), test.descriptor, test.id));
        MessageRecorder recorder;
        CTGA tga;
        ASSERT_TRUE(tga.loadImage(path.c_str()));
        EXPECT_TRUE(recorder.boxes.empty());
        // RGB(A): the file's B and R exchanged, rows bottom-up, pixels left to right.
        Bytes expected;
        for (int n : {d, e, f, a, b, c}) {
            Bytes pixel = pixels({n}, bytes);
            std::swap(pixel[0], pixel[2]);
            expected.insert(expected.end(), pixel.begin(), pixel.end());
        }
        EXPECT_EQ(Bytes(tga.data.get(), tga.data.get() + 6 * bytes), expected);
    }
}

TEST(CTGA, MissingFileIsRefusedSilently) {
    MessageRecorder recorder;
    CTGA tga;
    EXPECT_FALSE(tga.loadImage("/nonexistent/picture.tga"));
    EXPECT_TRUE(recorder.boxes.empty());
    EXPECT_EQ(tga.data, nullptr);
}

struct BadTga {
    const char* name;
    Bytes file;
    const char* text;
};

Bytes withByte(Bytes file, size_t offset, unsigned char value) {
    file[offset] = value;
    return file;
}

const Bytes kGood = tgaFile(2, 2, 24, Bytes(12, 77));

const BadTga kBadTgas[] = {
    {"16-bit", tgaFile(2, 2, 16, Bytes(8, 1)), "Unsupported TGA depth"},
    {"8-bit", tgaFile(2, 2, 8, Bytes(4, 1)), "Unsupported TGA depth"},
    {"run-length coded", withByte(kGood, 2, 10), "Unsupported TGA image type"},
    {"colour-mapped", withByte(withByte(kGood, 2, 1), 1, 1), "Unsupported TGA image type"},
    {"colour map on true colour", withByte(kGood, 1, 1), "Unsupported TGA colour map"},
    {"image ID longer than the file holds", withByte(kGood, 0, 5), "TGA file is truncated"},
    {"zero width", tgaFile(0, 2, 24, {}), "Unsupported TGA size"},
    {"zero height", tgaFile(2, 0, 24, {}), "Unsupported TGA size"},
    {"huge", tgaFile(65535, 65535, 32, Bytes(64, 1)), "Unsupported TGA size"},
    {"pixels cut short", tgaFile(4, 4, 24, Bytes(47, 1)), "TGA file is truncated"},
    {"header cut short", Bytes(kGood.begin(), kGood.begin() + 15), "TGA file is truncated"},
    {"empty", {}, "TGA file is truncated"},
};

TEST(CTGA, MalformedFilesGiveOneBoxAndLeaveDataUntouched) {
    std::string good = saved(tgaFile(1, 1, 24, {1, 2, 3}));
    for (const BadTga& bad : kBadTgas) {
        SCOPED_TRACE(bad.name);
        std::string path = saved(bad.file);
        CTGA tga;
        ASSERT_TRUE(tga.loadImage(good.c_str()));
        const unsigned char* before = tga.data.get();
        MessageRecorder recorder;
        EXPECT_FALSE(tga.loadImage(path.c_str()));
        ASSERT_EQ(recorder.boxes.size(), 1u);
        EXPECT_EQ(recorder.boxes[0].text, bad.text);
        EXPECT_EQ(recorder.boxes[0].caption, "CTGA::loadImage()");
        EXPECT_EQ(recorder.boxes[0].style, MessageBoxStyle::Plain);
        EXPECT_EQ(tga.data.get(), before);
        EXPECT_EQ(Bytes(tga.data.get(), tga.data.get() + 3), Bytes({3, 2, 1}));
        EXPECT_EQ(tga.width, 1);
    }
}

}  // namespace
