// Video capture through ffmpeg: the command line per container, finding ffmpeg, a picture that
// arrives upright, and an ffmpeg that fails.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include "core/show.h"
#include "support/scratchdir.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "offline/videoencoder.h"

namespace fs = std::filesystem;

namespace {

// The value after `option` in the command line, or "" if the option is absent.
std::string valueOf(const std::vector<std::string>& args, const std::string& option) {
    auto it = std::find(args.begin(), args.end(), option);
    return it == args.end() || it + 1 == args.end() ? "" : *(it + 1);
}

size_t countOf(const std::vector<std::string>& args, const std::string& word) {
    return static_cast<size_t>(std::count(args.begin(), args.end(), word));
}

TEST(VideoEncoder, TellsVideoFilesFromFolders) {
    const std::pair<const char*, bool> cases[] = {
        {"out.mp4", true},  {"/a/b/OUT.MKV", true}, {"x.webm", true}, {"frames", false},
        {"frames/", false}, {"clip.avi", false},    {"mp4", false},   {"a.mp4/", false},
    };
    for (const auto& c : cases) EXPECT_EQ(CVideoEncoder::isVideoPath(c.first), c.second) << c.first;
}

TEST(VideoEncoder, PicksCodecsPerContainer) {
    const struct {
        const char* path;
        const char* video;
        const char* audio;
    } cases[] = {{"o.mp4", "libx264", "aac"},
                 {"o.mkv", "libx264", "libvorbis"},
                 {"o.webm", "libvpx-vp9", "libopus"}};
    for (const auto& c : cases) {
        CVideoEncoder::Settings s;
        s.path = c.path;
        s.ffmpeg = "/usr/bin/ffmpeg";
        s.fpsNumerator = 60000;
        s.fpsDenominator = 1001;
        s.musicPath = "/m/music.ogg";
        s.musicStart = 12.5;
        std::vector<std::string> args = CVideoEncoder::commandLine(s);
        EXPECT_EQ(args.front(), "/usr/bin/ffmpeg");
        EXPECT_EQ(args.back(), c.path);
        EXPECT_EQ(valueOf(args, "-c:v"), c.video) << c.path;
        EXPECT_EQ(valueOf(args, "-c:a"), c.audio) << c.path;
        EXPECT_EQ(valueOf(args, "-pix_fmt"), "rgb24");  // the input's, given first
        EXPECT_EQ(countOf(args, "yuv420p"), 1u);
        EXPECT_EQ(valueOf(args, "-r"), "60000/1001");
        EXPECT_EQ(valueOf(args, "-s"), "800x600");
        EXPECT_EQ(valueOf(args, "-ss"), "12.500000");
        EXPECT_EQ(valueOf(args, "-map"), "0:v");
        EXPECT_EQ(countOf(args, "1:a"), 1u);
        EXPECT_EQ(countOf(args, "-shortest"), 1u);
    }
}

TEST(VideoEncoder, LeavesOutTheSoundTrackWithoutMusic) {
    CVideoEncoder::Settings s;
    s.path = "o.mp4";
    s.ffmpeg = "ffmpeg";
    std::vector<std::string> args = CVideoEncoder::commandLine(s);
    EXPECT_EQ(countOf(args, "-i"), 1u);
    EXPECT_EQ(valueOf(args, "-c:a"), "");
    EXPECT_EQ(valueOf(args, "-ss"), "");
    EXPECT_EQ(countOf(args, "1:a"), 0u);
}

class VideoEncoderFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(root.empty());
        const char* path = std::getenv("PATH");
        savedPath = path != nullptr ? path : "";
    }
    void TearDown() override { setenv("PATH", savedPath.c_str(), 1); }
    void writeScript(const std::string& path, const std::string& body, mode_t mode) {
        std::FILE* file = std::fopen(path.c_str(), "w");
        std::fputs(body.c_str(), file);
        std::fclose(file);
        chmod(path.c_str(), mode);
    }
    ScratchDir scratch{"video"};
    std::string root = scratch.path;
    std::string savedPath;
};

TEST_F(VideoEncoderFiles, FindsOnlyAnExecutableFFmpegOnPath) {
    fs::create_directories(root + "/empty");
    fs::create_directories(root + "/plain");
    fs::create_directories(root + "/tool");
    writeScript(root + "/plain/ffmpeg", "#!/bin/sh\n", 0644);
    writeScript(root + "/tool/ffmpeg", "#!/bin/sh\n", 0755);
    setenv("PATH", (root + "/empty:" + root + "/plain").c_str(), 1);
    EXPECT_EQ(CVideoEncoder::findFFmpeg(), "");
    setenv("PATH", (root + "/empty::" + root + "/plain:" + root + "/tool").c_str(), 1);
    EXPECT_EQ(CVideoEncoder::findFFmpeg(), root + "/tool/ffmpeg");
}

// An ffmpeg that quits at once: the writes fail (instead of SIGPIPE ending the program), closing
// says how it ended, and SIGPIPE is the program's own again once the video is closed.
TEST_F(VideoEncoderFiles, ReportsAnFFmpegThatStops) {
    const std::pair<const char*, std::string> endings[] = {
        {"exit 3", "it exited with status 3"},
        {"kill -TERM $$", "it was ended by signal 15 (" + std::string(strsignal(SIGTERM)) + ")"},
    };
    for (const auto& ending : endings) {
        SCOPED_TRACE(ending.first);
        writeScript(root + "/ffmpeg", std::string("#!/bin/sh\n") + ending.first + "\n", 0755);
        CVideoEncoder::Settings s;
        s.path = root + "/o.mp4";
        s.ffmpeg = root + "/ffmpeg";
        std::string error;
        {
            CVideoEncoder video;
            ASSERT_TRUE(video.open(s, error)) << error;
            std::vector<uint8_t> frame(kFrameWidth * kFrameHeight * 3);
            bool written = true;
            for (int i = 0; i < 8 && written; ++i) written = video.write(frame.data(), error);
            EXPECT_FALSE(written);
            EXPECT_FALSE(video.close(error));
        }
        EXPECT_EQ(error, "ffmpeg could not finish the video: " + ending.second);
        struct sigaction pipeSignal {};
        sigaction(SIGPIPE, nullptr, &pipeSignal);
        EXPECT_EQ(pipeSignal.sa_handler, SIG_DFL);
    }
}

// Frames go in bottom-up, as GL reads them, and must come out upright.
TEST_F(VideoEncoderFiles, EncodesFramesUpright) {
    std::string ffmpeg = CVideoEncoder::findFFmpeg();
    if (ffmpeg.empty()) GTEST_SKIP() << "no ffmpeg on PATH";
    CVideoEncoder::Settings s;
    s.path = root + "/o.mkv";
    s.ffmpeg = ffmpeg;
    s.width = 64;
    s.height = 48;
    s.fpsNumerator = 10;
    std::vector<uint8_t> frame(64 * 48 * 3, 0);
    for (int y = 0; y < 24; ++y)  // the lower half, in GL's order, red
        for (int x = 0; x < 64; ++x) frame[(y * 64 + x) * 3] = 255;
    CVideoEncoder video;
    std::string error;
    ASSERT_TRUE(video.open(s, error)) << error;
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(video.write(frame.data(), error)) << error;
    ASSERT_TRUE(video.close(error)) << error;
    std::string command =
        ffmpeg + " -v error -i " + s.path + " -frames:v 1 -f rawvideo " + "-pix_fmt rgb24 -";
    std::FILE* decoded = popen(command.c_str(), "r");
    ASSERT_NE(decoded, nullptr);
    std::vector<uint8_t> rgb(64 * 48 * 3);
    size_t got = std::fread(rgb.data(), 1, rgb.size(), decoded);
    pclose(decoded);
    ASSERT_EQ(got, rgb.size());
    EXPECT_LT(rgb[(4 * 64 + 32) * 3], 40) << "top of the picture";
    EXPECT_GT(rgb[(44 * 64 + 32) * 3], 200) << "bottom of the picture";
}

}  // namespace
