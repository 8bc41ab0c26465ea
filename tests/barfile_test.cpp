// Bar files: the layout read from memory (fields, flags, bit copies, refusal of unsound files),
// then what --bars does to the window, which alone needs one open.
#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#ifndef _WIN32
#include <unistd.h>
#endif

#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/show.h"
#include "show/barfile.h"
#include "show/demo.h"
#include "support/messagerecorder.h"
#include "support/scratchdir.h"

namespace {

bool sameBars(const std::vector<CBarEntry>& a, const std::vector<CBarEntry>& b) {
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof a[0]) == 0);
}

uint32_t floatBits(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// Builds a bar file byte by byte, little-endian.
struct BarBytes {
    BarBytes& u32(uint32_t value) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>(value >> (8 * i)));
        return *this;
    }
    BarBytes& text(const std::string& s) {
        u32(static_cast<uint32_t>(s.size()));
        bytes += s;
        return *this;
    }
    BarBytes& bar(uint32_t first) {
        for (uint32_t i = 0; i < 9; ++i) u32(first + i);
        return *this;
    }
    std::string bytes;
};

struct BarFields {
    std::string demoName = "Night Drive";
    uint32_t start = floatBits(12.5f);
    uint32_t xres = 640;
    uint32_t yres = 480;
    uint32_t fullscreen = 0;
    uint32_t music = 1;
    uint32_t bpm = floatBits(140.0f);
    std::string musicName = "data/music/other.ogg";
    uint32_t barCount = 2;
};

// The head of a file, up to and including the bar count, followed by `barCount` records.
std::string encode(const BarFields& f) {
    BarBytes b;
    b.text(f.demoName).u32(f.start).u32(f.xres).u32(f.yres).u32(f.fullscreen).u32(f.music);
    b.u32(f.bpm).text(f.musicName).u32(f.barCount);
    for (uint32_t i = 0; i < f.barCount; ++i) b.bar(100 * (i + 1));
    return b.bytes;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string writeFile(const std::string& bytes) {
    std::string path = tempPath("bars");
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

// What a demo holds when no bar file was read, in a window.
void expectBuiltIn(const CDemo& demo) {
    EXPECT_EQ("", demo.demoName);
    EXPECT_EQ(std::string(kMusicFolder) + kMusicFile, demo.musicName);
    EXPECT_EQ(0.0f, demo.startTime);
    EXPECT_EQ(kFrameWidth, demo.xres);
    EXPECT_EQ(kFrameHeight, demo.yres);
    EXPECT_FALSE(demo.fullscreen);
    EXPECT_TRUE(demo.musicEnabled);
    EXPECT_EQ(0u, demo.bpm);
    EXPECT_TRUE(demo.bars.empty());
}

std::pair<int, int> windowSize(const CDemo& demo) {
    int width = 0, height = 0;
    SDL_GetWindowSize(demo.window->hwnd, &width, &height);
    return {width, height};
}

COptions windowedOptions() {
    COptions options;
    options.windowed = true;
    return options;
}

class BarFileTest : public ::testing::Test {
protected:
    // Each read into a fresh CBarFile, as the demo does.
    bool load(const std::string& bytes) {
        std::istringstream in(bytes);
        parsed = CBarFile();
        problem.clear();
        return parsed.read(in, problem);
    }

    CBarFile parsed;
    std::string problem;
};

TEST_F(BarFileTest, ReadsEveryFieldIntoTheSettings) {
    BarFields fields;
    fields.barCount = 0;
    ASSERT_TRUE(load(encode(fields)));
    EXPECT_EQ("", problem);
    EXPECT_EQ("Night Drive", parsed.demoName);
    EXPECT_EQ(12.5f, parsed.startTime);
    EXPECT_EQ(640, parsed.xres);
    EXPECT_EQ(480, parsed.yres);
    EXPECT_FALSE(parsed.fullscreen);
    EXPECT_TRUE(parsed.musicEnabled);
    EXPECT_EQ(floatBits(140.0f), parsed.bpm);
    EXPECT_EQ("data/music/other.ogg", parsed.musicName);
    EXPECT_TRUE(parsed.bars.empty());
}

TEST_F(BarFileTest, RecordsAndTempoAreCopiedBitForBit) {
    BarFields fields;
    fields.barCount = 0;
    fields.bpm = 0x7FC00001;  // a NaN with a payload
    BarBytes file;
    file.bytes = encode(fields);
    file.bytes.replace(file.bytes.size() - 4, 4, BarBytes().u32(2).bytes);
    file.u32(0x7FC00001).u32(0xFFFFFFFF).u32(0x80000000).u32(floatBits(-1.5f)).u32(0);
    file.u32(1).u32(0x00010000).u32(0xDEADBEEF).u32(42);
    file.bar(500);
    ASSERT_TRUE(load(file.bytes));
    EXPECT_EQ(0x7FC00001u, parsed.bpm);
    ASSERT_EQ(2u, parsed.bars.size());
    CBarEntry first{0x7FC00001, 0xFFFFFFFF, 0x80000000, floatBits(-1.5f), 0, 1,
                    0x00010000, 0xDEADBEEF, 42};
    CBarEntry second{500, 501, 502, 503, 504, 505, 506, 507, 508};
    EXPECT_TRUE(sameBars(parsed.bars, {first, second}));
}

TEST_F(BarFileTest, AnyNonZeroFlagTurnsItOn) {
    struct Row {
        uint32_t field;
        bool on;
    };
    const Row rows[] = {{1, true}, {2, true}, {0xFFFFFFFF, true}, {0, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.field);
        BarFields fields;
        fields.fullscreen = fields.music = row.field;
        ASSERT_TRUE(load(encode(fields)));
        EXPECT_EQ(row.on, parsed.fullscreen);
        EXPECT_EQ(row.on, parsed.musicEnabled);
    }
}

TEST_F(BarFileTest, StartTimeIsAFloatNotAnInteger) {
    BarFields fields;
    fields.start = floatBits(12.5f);
    ASSERT_TRUE(load(encode(fields)));
    EXPECT_EQ(12.5f, parsed.startTime);

    fields.start = 12;
    ASSERT_TRUE(load(encode(fields)));
    EXPECT_NE(12.0f, parsed.startTime);
    EXPECT_EQ(12u, floatBits(parsed.startTime));
}

TEST_F(BarFileTest, NamesMayBeEmptyAndStopAtAZeroByte) {
    BarFields fields;
    fields.demoName = "";
    fields.musicName = "";
    ASSERT_TRUE(load(encode(fields)));
    EXPECT_EQ("", parsed.demoName);
    EXPECT_EQ("", parsed.musicName);

    fields.demoName = std::string("ab\0cd", 5);
    fields.musicName = "x.ogg";
    ASSERT_TRUE(load(encode(fields)));
    EXPECT_EQ("ab", parsed.demoName);
    EXPECT_EQ("x.ogg", parsed.musicName);
    EXPECT_EQ(2u, parsed.bars.size());
}

TEST_F(BarFileTest, EveryTruncationIsRefused) {
    std::string whole = encode(BarFields());
    for (size_t length = 0; length < whole.size(); ++length) {
        SCOPED_TRACE(length);
        EXPECT_FALSE(load(whole.substr(0, length)));
        EXPECT_EQ(0u, problem.rfind("The bar file ", 0)) << problem;
    }
}

TEST_F(BarFileTest, OversizedOrAbsurdFieldsAreRefusedBeforeAllocating) {
    struct Row {
        const char* name;
        std::string bytes;
        const char* says;
    };
    BarFields huge, negative, overlong, negativeMusic, hugeCount, shortCount, nanStart, endless,
        beforeZero;
    hugeCount.barCount = 0;
    shortCount.barCount = 2;
    nanStart.start = 0x7FC00000;
    endless.start = floatBits(INFINITY);
    beforeZero.start = floatBits(-1e30f);
    auto withLength = [](const BarFields& f, size_t at, uint32_t length) {
        std::string bytes = encode(f);
        return bytes.replace(at, 4, BarBytes().u32(length).bytes);
    };
    auto withCount = [](const BarFields& f, uint32_t count) {
        std::string bytes = encode(f);
        return bytes.replace(bytes.size() - 36 * f.barCount - 4, 4, BarBytes().u32(count).bytes);
    };
    size_t musicLengthAt = 4 + huge.demoName.size() + 24;
    std::string whole = encode(huge);
    const Row rows[] = {
        {"demo name length 2^32-1", withLength(negative, 0, 0xFFFFFFFF), "length of 4294967295"},
        {"demo name length 2^31-1", withLength(huge, 0, 0x7FFFFFFF), "length"},
        {"demo name one past the end", withLength(overlong, 0, whole.size() - 3), "length"},
        {"music name length -2", withLength(negativeMusic, musicLengthAt, 0xFFFFFFFE), "length"},
        {"bar count 2^32-1, no records", withCount(hugeCount, 0xFFFFFFFF), "bar records"},
        {"bar count 2^28 with two records", withCount(shortCount, 0x10000000), "bar records"},
        {"bar count 3 with two records", withCount(shortCount, 3), "bar records"},
        // Any of these would start a show that never ends.
        {"start NaN", encode(nanStart), "start time of nan"},
        {"start infinite", encode(endless), "start time of inf"},
        {"start far below 0", encode(beforeZero), "start time of -1"},
        {"start NaN, as found",
         readFile(std::string(VEXMORO_REGRESSIONS) + "/bars/bars-start-nan.bars"),
         "start time of nan"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_FALSE(load(row.bytes));
        EXPECT_NE(std::string::npos, problem.find(row.says)) << problem;
    }
}

// The window opens after the file is read; options typed on the command line win over it.
TEST(BarsOption, WindowTakesTheFileSizeAndOptionsOverrideIt) {
    BarFields fields;
    fields.fullscreen = 1;
    fields.xres = 640;
    fields.yres = 480;
    COptions options = windowedOptions();
    options.barsFile = writeFile(encode(fields));
    options.startGiven = true;
    options.start = 30.0f;
    options.noMusic = true;
    CDemo demo(options, nullptr);
    ASSERT_TRUE(demo.windowOpened);
    EXPECT_EQ(std::make_pair(640, 480), windowSize(demo));
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(kFrameWidth, viewport[2]) << "the scenes still draw in the 800 by 600 frame";
    EXPECT_EQ(kFrameHeight, viewport[3]);
    EXPECT_FALSE(demo.fullscreen);
    EXPECT_EQ(30.0f, demo.startTime);
    EXPECT_FALSE(demo.musicEnabled);
    EXPECT_EQ("Night Drive", demo.demoName);
    EXPECT_EQ(2u, demo.bars.size());
}

TEST(BarsOption, FileSettingsStandWithoutOverrides) {
    BarFields fields;
    fields.xres = 720;
    fields.yres = 400;
    COptions options;
    options.barsFile = writeFile(encode(fields));
    CDemo demo(options, nullptr);
    ASSERT_TRUE(demo.windowOpened);
    EXPECT_EQ(std::make_pair(720, 400), windowSize(demo));
    EXPECT_FALSE(demo.fullscreen);
    EXPECT_EQ(12.5f, demo.startTime);
    EXPECT_TRUE(demo.musicEnabled);
    EXPECT_EQ("data/music/other.ogg", demo.musicName);
}

// A file that cannot be opened or is not sound, whether in its layout or in the resolution it
// asks for: one error box, and the window and every setting stay as built in.
TEST(BarsOption, UnsoundFileLeavesTheBuiltInWindow) {
    BarFields zeroWidth, negHeight, wide, tall;
    zeroWidth.xres = 0;
    negHeight.yres = static_cast<uint32_t>(-1);
    wide.xres = 100000;
    tall.yres = 20000;
    std::string whole = encode(BarFields());
    struct Row {
        const char* name;
        std::string path;
        std::string says;
    };
    const Row rows[] = {
        {"missing file", scratchPath("no/such/file.bars"),
         "Unable to open bar file " + scratchPath("no/such/file.bars") + ": " +
             std::strerror(ENOENT)},
        {"cut inside the last record", writeFile(whole.substr(0, whole.size() - 1)), "bar file"},
        {"width 0", writeFile(encode(zeroWidth)), "resolution"},
        {"height -1", writeFile(encode(negHeight)), "resolution"},
        {"width 100000", writeFile(encode(wide)), "resolution"},
        {"height 20000", writeFile(encode(tall)), "resolution"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MessageRecorder recorder;
        COptions options = windowedOptions();
        options.barsFile = row.path;
        CDemo demo(options, nullptr);
        ASSERT_TRUE(demo.windowOpened);
        ASSERT_EQ(1u, recorder.boxes.size());
        EXPECT_EQ(MessageBoxStyle::Error, recorder.boxes[0].style);
        EXPECT_EQ("CDemo::loadBars()", recorder.boxes[0].caption);
        EXPECT_NE(std::string::npos, recorder.boxes[0].text.find(row.says))
            << recorder.boxes[0].text;
        EXPECT_EQ(std::make_pair(kFrameWidth, kFrameHeight), windowSize(demo));
        expectBuiltIn(demo);

        EXPECT_FALSE(demo.loadBars(nullptr));
        EXPECT_EQ(2u, recorder.boxes.size());
        expectBuiltIn(demo);
    }
}

// A folder opens like a file and would only seem to end early; a pipe (--bars <(cat f)) cannot
// tell its length but is a bar file all the same.
TEST(BarsOption, FoldersAreRefusedAndPipesRead) {
    MessageRecorder recorder;
    std::string folder = scratchPath("folder.bars");
    ASSERT_TRUE(std::filesystem::create_directories(folder));
    COptions options = windowedOptions();
    options.barsFile = folder;
    CDemo refused(options, nullptr);
    ASSERT_EQ(1u, recorder.boxes.size());
    EXPECT_EQ("Unable to open bar file " + folder + ": it is a folder.", recorder.boxes[0].text);
    expectBuiltIn(refused);

#ifndef _WIN32  // Windows names no pipe by a path
    int ends[2];
    ASSERT_EQ(0, pipe(ends));
    std::string bytes = encode(BarFields());
    ASSERT_EQ(static_cast<ssize_t>(bytes.size()), write(ends[1], bytes.data(), bytes.size()));
    close(ends[1]);
    EXPECT_TRUE(refused.loadBars(("/dev/fd/" + std::to_string(ends[0])).c_str()));
    close(ends[0]);
    EXPECT_EQ(1u, recorder.boxes.size());
    EXPECT_EQ("Night Drive", refused.demoName);
    EXPECT_EQ(2u, refused.bars.size());
#endif
}

}  // namespace
