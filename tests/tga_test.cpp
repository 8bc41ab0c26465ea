#include "assets/tga.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/messagerecorder.h"
#include "support/picturefiles.h"

namespace {

Bytes tgaFile(int width, int height, int depth, const Bytes& pixels) {
    Bytes file(18 + pixels.size(), 0);
    file[2] = 2;  // uncompressed true colour
    file[12] = width & 0xFF, file[13] = width >> 8;
    file[14] = height & 0xFF, file[15] = height >> 8;
    file[16] = static_cast<unsigned char>(depth);
    std::copy(pixels.begin(), pixels.end(), file.begin() + 18);
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
    EXPECT_EQ(Bytes(tga.data, tga.data + 6), Bytes({30, 20, 10, 60, 50, 40}));
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
    EXPECT_EQ(Bytes(tga.data, tga.data + 8), Bytes({3, 2, 1, 4, 7, 6, 5, 8}));
    EXPECT_EQ(tga.format, static_cast<GLenum>(GL_RGBA));
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
    {"image ID", withByte(kGood, 0, 5), "Unsupported TGA image ID"},
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
        const unsigned char* before = tga.data;
        MessageRecorder recorder;
        EXPECT_FALSE(tga.loadImage(path.c_str()));
        ASSERT_EQ(recorder.boxes.size(), 1u);
        EXPECT_EQ(recorder.boxes[0].text, bad.text);
        EXPECT_EQ(recorder.boxes[0].caption, "CTGA::loadImage()");
        EXPECT_EQ(recorder.boxes[0].style, MessageBoxStyle::Plain);
        EXPECT_EQ(tga.data, before);
        EXPECT_EQ(Bytes(tga.data, tga.data + 3), Bytes({3, 2, 1}));
        EXPECT_EQ(tga.width, 1);
    }
}

}  // namespace
