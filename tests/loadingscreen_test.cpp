#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "show/demo.h"
#include "support/messagerecorder.h"
#include "support/picturefiles.h"

namespace {

namespace fs = std::filesystem;

class StillTicks : public CTickSource {
public:
    int64_t counter() override { return 0; }
    int64_t frequency() override { return 1000; }
};

std::array<int, 3> pixel(int x, int y) {
    unsigned char rgb[3] = {};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    return {rgb[0], rgb[1], rgb[2]};
}

// Runs the demo's load in a fresh folder, with or without a loading picture there.
class LoadingScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous = fs::current_path();
        folder = tempPath("root");
        fs::create_directories(folder + "/data/textures");
        fs::current_path(folder);
        options.windowed = true;
        options.noMusic = true;
    }
    void TearDown() override {
        fs::current_path(previous);
        fs::remove_all(folder);
    }

    fs::path previous;
    std::string folder;
    COptions options;
    StillTicks ticks;
};

TEST_F(LoadingScreenTest, PictureIsShownCentredOnBlack) {
    // Top half blue, bottom half red, so an upside-down picture shows.
    std::vector<std::vector<unsigned char>> rows(512, {255, 0, 0});
    for (int y = 0; y < 256; ++y) rows[y] = {0, 0, 255};
    writeJpeg("data/textures/loading.jpg", 512, 512, pixelRows(rows, 512, 3));
    CDemo demo(options, &ticks);
    ASSERT_TRUE(demo.windowOpened);
    demo.load();
    EXPECT_NE(demo.loadingTexture.id, 0u);
    // The offscreen surface keeps its picture across the swaps, so what was shown reads back.
    auto near = [](std::array<int, 3> got, std::array<int, 3> want) {
        for (int c = 0; c < 3; ++c)
            if (std::abs(got[c] - want[c]) > 8) return false;
        return true;
    };
    EXPECT_TRUE(near(pixel(400, 100), {255, 0, 0}));
    EXPECT_TRUE(near(pixel(400, 500), {0, 0, 255}));
    EXPECT_EQ(pixel(143, 300), (std::array<int, 3>{0, 0, 0}));
    EXPECT_EQ(pixel(656, 300), (std::array<int, 3>{0, 0, 0}));
    EXPECT_EQ(pixel(400, 556), (std::array<int, 3>{0, 0, 0}));
    EXPECT_EQ(demo.scenes.size(), 5u);
}

TEST_F(LoadingScreenTest, MissingPictureIsReportedAndLoadingGoesOn) {
    MessageRecorder recorder;
    CDemo demo(options, &ticks);
    ASSERT_TRUE(demo.windowOpened);
    demo.load();
    EXPECT_EQ(demo.loadingTexture.id, 0u);
    // The scenes report their own missing files after it.
    ASSERT_GE(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].text,
              std::string("Unable to open data/textures/loading.jpg: ") + std::strerror(ENOENT));
    EXPECT_EQ(std::count_if(recorder.boxes.begin(), recorder.boxes.end(),
                            [](const MessageBoxRecord& box) {
                                return box.text.find("loading.jpg") != std::string::npos;
                            }),
              1);
    EXPECT_EQ(demo.scenes.size(), 5u);
}

}  // namespace
