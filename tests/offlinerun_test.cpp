// A capture run in this process: what a scene draws reaches the PNG frames upright, frames of
// the chosen range only, and the scenes get a silent spectrum.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <png.h>
#include <signal.h>
#include "core/show.h"
#include "support/scratchdir.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "offline/offlinerun.h"
#include "show/demo.h"

namespace fs = std::filesystem;

namespace {

// Red over the upper half of the picture; remembers whether its spectrum was silent.
class UpperHalfScene : public CScene {
public:
    void draw(float* spectrum) override {
        silent = silent && std::all_of(spectrum, spectrum + 512, [](float v) { return v == 0; });
        glEnable(GL_SCISSOR_TEST);
        glScissor(0, 300, 800, 300);
        glClearColor(1, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_SCISSOR_TEST);
        ++draws;
    }
    bool silent = true;
    int draws = 0;
};

std::vector<uint8_t> readRGB(const std::string& path, int& width, int& height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    std::vector<uint8_t> rgb;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return rgb;
    image.format = PNG_FORMAT_RGB;
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    rgb.resize(PNG_IMAGE_SIZE(image));
    png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr);
    return rgb;
}

// A run set up as the program sets one up: prepared, hooked into a demo, the demo loaded.
std::unique_ptr<CDemo> loadedDemo(COfflineRun& run, const COptions& options) {
    std::string error;
    if (!run.prepare(error)) {
        ADD_FAILURE() << error;
        return nullptr;
    }
    std::unique_ptr<CDemo> demo(new CDemo(options, &run.ticks()));
    if (!demo->windowOpened) {
        ADD_FAILURE() << "no window";
        return nullptr;
    }
    run.attach(*demo);
    demo->load();
    return demo;
}

TEST(OfflineRun, CapturesWhatTheScenesDrewUpright) {
    ScratchDir scratch("offline");
    ASSERT_FALSE(scratch.path.empty());
    std::string folder = scratch.path + "/frames";
    COptions options;
    options.capture = folder;
    options.fpsNumerator = 20;
    options.fromGiven = options.toGiven = true;
    options.from = 0.1;
    options.to = 0.2;
    COfflineRun run(options);
    std::unique_ptr<CDemo> demo = loadedDemo(run, options);
    ASSERT_NE(demo, nullptr);
    auto owned = std::make_unique<UpperHalfScene>();
    UpperHalfScene* scene = owned.get();
    scene->start = demo->scenes[0]->start;
    scene->duration = demo->scenes[0]->duration;
    demo->scenes[0] = std::move(owned);
    run.beginRendering(0);
    demo->run();
    EXPECT_TRUE(scene->silent);
    EXPECT_EQ(scene->draws, 5);  // frames 1 to 5; frame 0 at 0 s lies outside every scene
    demo->shutdown();
    EXPECT_EQ(run.finish(stdout), 0);

    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"frame-000002.png", "frame-000003.png",
                                               "frame-000004.png"}));
    int width = 0, height = 0;
    std::vector<uint8_t> rgb = readRGB(folder + "/frame-000003.png", width, height);
    ASSERT_EQ(width, kFrameWidth);
    ASSERT_EQ(height, kFrameHeight);
    auto at = [&](int x, int y) { return &rgb[(static_cast<size_t>(y) * kFrameWidth + x) * 3]; };
    EXPECT_EQ(at(400, 10)[0], 255) << "the top of the picture is red";
    EXPECT_EQ(at(400, 590)[0], 0) << "the bottom is the black clear colour";
}

// Asked for what it cannot write, the run says so before anything is drawn or made.
TEST(OfflineRun, RefusesWhatItCannotWriteBeforeDrawing) {
    ScratchDir scratch("offline-refuse");
    ASSERT_FALSE(scratch.path.empty());
    struct Case {
        std::string capture;  // empty: a benchmark
        long fps;
        double from;       // negative: no --from
        const char* says;  // empty: accepted
    };
    const Case cases[] = {
        {scratch.path + "/clip.avi", 60, -1, ": videos are written only as .mp4, .mkv or .webm"},
        {scratch.path + "/clip.MOV", 60, -1, ".mp4, .mkv or .webm"},
        {scratch.path + "/frames", 60, 209.3, "--from 209.3 lies past the end of the show"},
        {"", 1, 210.3, "past the end of the show"},
        // The last frame drawn is the first past 209.2 s: it may still lie in the range.
        {scratch.path + "/frames", 60, 209.21, ""},
        {"", 1, 210.1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.capture + " from " + std::to_string(c.from));
        COptions options;
        options.capture = c.capture;
        options.benchmark = c.capture.empty();
        options.fpsNumerator = c.fps;
        options.fromGiven = c.from >= 0;
        options.from = c.from;
        COfflineRun run(options);
        std::string error;
        EXPECT_EQ(run.prepare(error), *c.says == '\0');
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
        if (*c.says != '\0' && !c.capture.empty()) {
            EXPECT_FALSE(fs::exists(c.capture));
        }
    }
}

// Whatever start reaches a run, even one a bar file should never have let through, it draws no
// more frames than the show holds from there to its end.
TEST(OfflineRun, NeverDrawsMoreFramesThanTheShowHolds) {
    const std::pair<float, int64_t> cases[] = {{NAN, 3}, {209.0f, 4}, {1e30f, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        COptions options;
        options.benchmark = true;
        options.silent = true;
        options.fpsNumerator = 10;
        COfflineRun run(options);
        std::unique_ptr<CDemo> demo = loadedDemo(run, options);
        ASSERT_NE(demo, nullptr);
        demo->startTime = c.first;
        run.beginRendering(0);
        demo->run();
        demo->shutdown();
        EXPECT_EQ(run.ticks().frame(), c.second);
        std::FILE* table = std::tmpfile();
        run.finish(table);
        std::fclose(table);
    }
}

// Ctrl-C belongs to a run only from prepare() to finish(): a test harness, or a program that runs
// the show twice, finds its own handling again afterwards.
TEST(OfflineRun, GivesCtrlCBackWhenItEnds) {
    struct sigaction before {
    }, during{}, after{};
    sigaction(SIGINT, nullptr, &before);
    COptions options;
    options.benchmark = true;
    COfflineRun run(options);
    std::string error;
    ASSERT_TRUE(run.prepare(error)) << error;
    sigaction(SIGINT, nullptr, &during);
    std::FILE* table = std::tmpfile();
    run.finish(table);
    std::fclose(table);
    sigaction(SIGINT, nullptr, &after);
    EXPECT_NE(during.sa_handler, before.sa_handler) << "the run did not take Ctrl-C";
    EXPECT_EQ(after.sa_handler, before.sa_handler) << "the run kept Ctrl-C";
}

}  // namespace
