// PNG frames: numbered names, upright RGB pictures from GL's bottom-up rows, folders made,
// old frames overwritten, failures reported.
#include <gtest/gtest.h>

#include <png.h>
#include <sys/stat.h>
#include "support/scratchdir.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "offline/framecapture.h"

namespace fs = std::filesystem;

namespace {

struct Picture {
    int width = 0;
    int height = 0;
    int colorType = -1;
    std::vector<uint8_t> rgb;  // top-down
};

Picture readPNG(const std::string& path) {
    Picture picture;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return picture;
    picture.colorType = image.format == PNG_FORMAT_RGB ? PNG_COLOR_TYPE_RGB : -1;
    image.format = PNG_FORMAT_RGB;
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    picture.rgb.resize(PNG_IMAGE_SIZE(image));
    png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr);
    return picture;
}

class FrameCaptureTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(root.empty()); }
    ScratchDir scratch{"framecapture"};
    std::string root = scratch.path;
};

// Bottom-up rows as GL reads them: row 0 (the bottom) red, the top row blue, a gradient between.
std::vector<uint8_t> glRows(int width, int height) {
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
            p[0] = y == 0 ? 255 : 0;
            p[1] = static_cast<uint8_t>(x);
            p[2] = y == height - 1 ? 255 : 0;
        }
    return rgb;
}

TEST_F(FrameCaptureTest, WritesUprightRGBPicturesIntoANewFolder) {
    std::string folder = root + "/a/b/frames";
    CFrameCapture capture(folder);
    std::string error;
    ASSERT_TRUE(capture.open(error)) << error;
    const int width = 37, height = 5;  // an odd row length: no padding may creep in
    std::vector<uint8_t> rgb = glRows(width, height);
    ASSERT_TRUE(capture.write(7, rgb.data(), width, height, error)) << error;
    EXPECT_EQ(capture.framePath(7), folder + "/frame-000007.png");
    Picture picture = readPNG(folder + "/frame-000007.png");
    ASSERT_EQ(picture.width, width);
    ASSERT_EQ(picture.height, height);
    EXPECT_EQ(picture.colorType, PNG_COLOR_TYPE_RGB);
    size_t bottomRow = static_cast<size_t>(height - 1) * width * 3;
    EXPECT_EQ(picture.rgb[2], 255) << "the top row is GL's last";
    EXPECT_EQ(picture.rgb[0], 0);
    EXPECT_EQ(picture.rgb[bottomRow], 255) << "the bottom row is GL's first";
    EXPECT_EQ(picture.rgb[bottomRow + 2], 0);
    EXPECT_EQ(picture.rgb[(width - 1) * 3 + 1], width - 1);
}

TEST_F(FrameCaptureTest, NamesFramesWithSixDigitsAndOverwrites) {
    CFrameCapture capture(root);
    EXPECT_EQ(capture.framePath(0), root + "/frame-000000.png");
    EXPECT_EQ(capture.framePath(123456), root + "/frame-123456.png");
    EXPECT_EQ(capture.framePath(1234567), root + "/frame-1234567.png");
    std::FILE* old = std::fopen((root + "/frame-000003.png").c_str(), "wb");
    std::fputs("not a picture, and longer than nothing at all", old);
    std::fclose(old);
    std::vector<uint8_t> rgb = glRows(4, 4);
    std::string error;
    ASSERT_TRUE(capture.write(3, rgb.data(), 4, 4, error)) << error;
    EXPECT_EQ(readPNG(root + "/frame-000003.png").width, 4);
}

TEST_F(FrameCaptureTest, ReportsAFolderThatCannotBeMadeOrWritten) {
    std::string file = root + "/plain-file";
    std::fclose(std::fopen(file.c_str(), "wb"));
    CFrameCapture blocked(file + "/frames");
    std::string error;
    EXPECT_FALSE(blocked.open(error));
    EXPECT_NE(error.find("cannot create"), std::string::npos) << error;

    CFrameCapture capture(root + "/gone");
    ASSERT_TRUE(capture.open(error));
    fs::remove_all(root + "/gone");
    std::vector<uint8_t> rgb = glRows(4, 4);
    error.clear();
    EXPECT_FALSE(capture.write(0, rgb.data(), 4, 4, error));
    EXPECT_NE(error.find("frame-000000.png"), std::string::npos) << error;
}

// A full disk (a frame that is a link to /dev/full), met while writing a large frame or only
// when the last bytes are flushed at the close: the system's reason, and no cut frame left.
TEST_F(FrameCaptureTest, AFullDiskIsReportedAndLeavesNoFrame) {
    CFrameCapture capture(root);
    for (int side : {4, 400}) {
        SCOPED_TRACE(side);
        fs::create_symlink("/dev/full", capture.framePath(side));
        std::vector<uint8_t> rgb = glRows(side, side);
        std::string error;
        EXPECT_FALSE(capture.write(side, rgb.data(), side, side, error));
        EXPECT_NE(error.find(capture.framePath(side) + ": " + std::strerror(ENOSPC)),
                  std::string::npos)
            << error;
        EXPECT_FALSE(fs::exists(fs::symlink_status(capture.framePath(side))));
    }
}

}  // namespace
