// The program's capture and benchmark runs, end to end: the real binary on an empty data root
// (its loaders report the missing files and the show goes on), looking at what it wrote.
#include <fcntl.h>
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "core/show.h"
#include "fixedgl/session.h"
#include "support/commands.h"
#include "support/polling.h"
#include "support/scratchdir.h"

namespace fs = std::filesystem;

namespace {

const std::string kMusic = std::string(kMusicFolder) + kMusicFile;

struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool haveFFmpeg() {
    return std::system("command -v ffmpeg >/dev/null && command -v ffprobe >/dev/null") == 0;
}

class CaptureRun : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(root.empty()); }

    // Runs the program in `root` on `dataRoot` with `env` (arguments of env(1)) before it.
    Result run(const std::string& args, const std::string& env = "") {
        std::string command = "cd " + root + " && env " + env + " " + VEXMORO_BINARY + " --root " +
                              dataRoot + " " + args + " >" + root + "/stdout 2>" + root + "/stderr";
        Result result;
        int raw = std::system(command.c_str());
        result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        result.out = readFile(root + "/stdout");
        result.err = readFile(root + "/stderr");
        return result;
    }

    // A music file made by ffmpeg from a lavfi expression of t.
    bool makeMusic(const std::string& expression, double seconds, int rate = 44100) {
        fs::create_directories(root + "/data/music");
        std::string command = "ffmpeg -v error -y -f lavfi -i \"aevalsrc='" + expression +
                              "':s=" + std::to_string(rate) + ":d=" + std::to_string(seconds) +
                              "\" -c:a libvorbis '" + root + "/" + kMusic + "'";
        return std::system(command.c_str()) == 0;
    }

    std::vector<std::string> files(const std::string& folder) {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    // One "type,codec,width,height,rate,duration" line per stream.
    std::vector<std::string> streams(const std::string& video) {
        std::istringstream lines(
            commandOutput("ffprobe -v error -show_entries "
                          "stream=codec_type,codec_name,width,height,r_frame_rate,duration "
                          "-of csv=p=0:nk=1 '" +
                          video + "'"));
        std::vector<std::string> result;
        for (std::string line; std::getline(lines, line);)
            if (!line.empty()) result.push_back(line);
        return result;
    }

    ScratchDir scratch{"capture"};
    std::string root = scratch.path;
    std::string dataRoot = root;  // the empty scratch folder unless a test picks the real data
};

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> result;
    std::istringstream parts(line);
    for (std::string part; std::getline(parts, part, ',');) result.push_back(part);
    return result;
}

// "30", "30/1" or "60000/1001" as a number.
double rate(const std::string& text) {
    size_t slash = text.find('/');
    if (slash == std::string::npos) return std::stod(text);
    return std::stod(text.substr(0, slash)) / std::stod(text.substr(slash + 1));
}

std::string frameName(int k) {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%06d.png", k);
    return name;
}

// Width, height and colour type from the PNG header.
void expectRGB800x600(const std::string& path) {
    std::string bytes = readFile(path);
    ASSERT_GT(bytes.size(), 26u) << path;
    auto big = [&](size_t at) {
        return (static_cast<unsigned char>(bytes[at]) << 24) |
               (static_cast<unsigned char>(bytes[at + 1]) << 16) |
               (static_cast<unsigned char>(bytes[at + 2]) << 8) |
               static_cast<unsigned char>(bytes[at + 3]);
    };
    EXPECT_EQ(bytes.substr(1, 3), "PNG") << path;
    EXPECT_EQ(big(16), 800u) << path;
    EXPECT_EQ(big(20), 600u) << path;
    EXPECT_EQ(bytes[25], 2) << path << ": not RGB";
}

TEST_F(CaptureRun, WritesExactlyTheFramesInTheRange) {
    struct Case {
        const char* args;
        int first, last;
    };
    const Case cases[] = {
        {"--fps 30 --from 0 --to 0.1", 0, 3},
        {"--fps 60000/1001 --to 0.05", 0, 2},
        {"--fps 30 --start 100 --from 100.05 --to 100.1", 2, 3},
        // The start as a float is 101.0999985 s: frame 1 still counts as 101.2 s.
        {"--fps 10 --start 101.1 --from 101.2 --to 101.2", 1, 1},
        // The show's own end: the last frame is the first past 209.2 s.
        {"--fps 10 --from 209.1", 2091, 2093},
    };
    for (const Case& c : cases) {
        std::string folder = root + "/frames";
        fs::remove_all(folder);
        Result result = run(std::string("--capture frames ") + c.args);
        ASSERT_EQ(result.status, 0) << c.args << "\n" << result.err;
        std::vector<std::string> expected;
        for (int k = c.first; k <= c.last; ++k) expected.push_back(frameName(k));
        EXPECT_EQ(files(folder), expected) << c.args;
        for (const std::string& name : files(folder)) expectRGB800x600(folder + "/" + name);
    }
}

// The greetings' camera jumps (one at 51.8 s on the real music) and its particles are re-emitted
// from the one random sequence: two runs over the same stretch write the same bytes.
TEST_F(CaptureRun, SameRangeTwiceWritesIdenticalFrames) {
    dataRoot = fs::path(VEXMORO_DATA_DIR).parent_path().string();
    for (const char* folder : {"first", "second"}) {
        Result result = run(std::string("--capture ") + folder +
                            " --fps 30 --start 50.6 --from 51.7 --to 51.9");
        ASSERT_EQ(result.status, 0) << result.err;
    }
    std::vector<std::string> names = files(root + "/first");
    ASSERT_EQ(names.size(), 7u);
    EXPECT_EQ(files(root + "/second"), names);
    for (const std::string& name : names)
        EXPECT_TRUE(readFile(root + "/first/" + name) == readFile(root + "/second/" + name))
            << name;
    EXPECT_TRUE(readFile(root + "/first/" + names.front()) !=
                readFile(root + "/first/" + names.back()))
        << "the picture must move";
}

// No window on a display and no audio device: a display that does not exist and a disk audio
// driver that would leave a file behind if a device were opened.
TEST_F(CaptureRun, OpensNoWindowAndNoAudioDevice) {
    if (haveFFmpeg()) {
        ASSERT_TRUE(makeMusic("0.5*sin(2*PI*440*t)", 2));
    }
    std::string audio = root + "/played.raw";
    Result result = run("--capture frames --fps 10 --to 0.3",
                        "-u SDL_VIDEODRIVER DISPLAY=:97 WAYLAND_DISPLAY=nowhere "
                        "SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=" +
                            audio);
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(files(root + "/frames").size(), 4u);
    EXPECT_FALSE(fs::exists(audio)) << "an audio device was opened";

    // A video driver the user chose is kept; this one has no GL, so the run fails.
    result = run("--capture frames2 --to 0.1", "SDL_VIDEODRIVER=dummy");
    EXPECT_NE(result.status, 0);
    EXPECT_FALSE(fs::exists(root + "/frames2/frame-000000.png"));
}

TEST_F(CaptureRun, MissingFFmpegStopsBeforeRendering) {
    fs::create_directories(root + "/nobin");
    Result result = run("--capture out.mp4 --to 1", "PATH=" + root + "/nobin");
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("ffmpeg was not found"), std::string::npos) << result.err;
    EXPECT_EQ(result.err.find("drew"), std::string::npos) << result.err;
    EXPECT_FALSE(fs::exists(root + "/out.mp4"));
}

TEST_F(CaptureRun, VideoHasThePictureAndTheMusicAtTheRequestedRate) {
    if (!haveFFmpeg()) GTEST_SKIP() << "no ffmpeg";
    ASSERT_TRUE(makeMusic("0.5*sin(2*PI*440*t)", 6));
    struct Case {
        const char* file;
        const char* fps;
        const char* video;
        const char* audio;
    };
    const Case cases[] = {{"out.mp4", "60000/1001", "h264", "aac"},
                          {"out.mkv", "30", "h264", "vorbis"},
                          {"out.webm", "25", "vp9", "opus"}};
    for (const Case& c : cases) {
        Result result =
            run(std::string("--capture ") + c.file + " --fps " + c.fps + " --from 1 --to 3");
        ASSERT_EQ(result.status, 0) << c.file << "\n" << result.err;
        std::vector<std::string> found = streams(root + "/" + c.file);
        ASSERT_EQ(found.size(), 2u) << c.file;
        std::vector<std::string> video = fields(found[0]);
        ASSERT_EQ(video.size(), 6u) << found[0];
        EXPECT_EQ(video[0] + "," + video[1] + "," + video[2] + "," + video[3],
                  std::string(c.video) + ",video," + std::to_string(kFrameWidth) + "," +
                      std::to_string(kFrameHeight))
            << c.file;
        // Matroska keeps times in milliseconds, so its rate comes back only nearly exact.
        EXPECT_NEAR(rate(video[4]), rate(c.fps), 1e-3) << c.file << " " << video[4];
        EXPECT_EQ(found[1].substr(0, found[1].find(',', found[1].find(',') + 1)),
                  std::string(c.audio) + ",audio")
            << c.file;
        double length =
            std::stod(commandOutput("ffprobe -v error -show_entries format=duration "
                                    "-of csv=p=0 '" +
                                    root + "/" + c.file + "'"));
        EXPECT_NEAR(length, 2.0, 0.1) << c.file;
    }
    // In mp4 each stream has its own length: both about the two seconds asked for.
    std::vector<std::string> mp4 = streams(root + "/out.mp4");
    ASSERT_EQ(mp4.size(), 2u);
    ASSERT_EQ(fields(mp4[0]).size(), 6u);
    // Frames 60 (1.001 s) to 179 (2.986 s) at 60000/1001.
    double pictureLength = 120 * 1001.0 / 60000;
    EXPECT_EQ(fields(mp4[0])[4], "60000/1001");
    EXPECT_NEAR(std::stod(fields(mp4[0])[5]), pictureLength, 0.001);
    EXPECT_NEAR(std::stod(fields(mp4[1]).back()), pictureLength, 0.002);
}

// The sound track ends where the picture does, whatever the music's rate: the mp4 streams' own
// lengths, which once differed by up to an AAC frame (103 ms at 8 kHz; a frame is 16.7 ms).
TEST_F(CaptureRun, SoundEndsWithThePictureAtEveryRate) {
    if (!haveFFmpeg()) GTEST_SKIP() << "no ffmpeg";
    for (int rate : {8000, 22050, 48000, 96000}) {
        SCOPED_TRACE(rate);
        ASSERT_TRUE(makeMusic("0.5*sin(2*PI*440*t)", 3, rate));
        Result result = run("--capture out.mp4 --to 1");
        ASSERT_EQ(result.status, 0) << result.err;
        std::vector<std::string> found = streams(root + "/out.mp4");
        ASSERT_EQ(found.size(), 2u);
        double picture = std::stod(fields(found[0]).back());
        EXPECT_NEAR(picture, 61 / 60.0, 1e-6);  // frames 0 to 60
        EXPECT_NEAR(std::stod(fields(found[1]).back()), picture, 0.002);
    }
}

// The sound track starts at the first written frame's time: music that is silent for its first
// second, captured from 0.5 s, must sound from 0.5 s into the video.
TEST_F(CaptureRun, SoundLinesUpWithThePicture) {
    if (!haveFFmpeg()) GTEST_SKIP() << "no ffmpeg";
    ASSERT_TRUE(makeMusic("if(gte(t,1),0.8*sin(2*PI*440*t),0)", 4));
    Result result = run("--capture out.mkv --fps 30 --from 0.5 --to 2");
    ASSERT_EQ(result.status, 0) << result.err;
    std::string pcm = commandOutput("ffmpeg -v error -i '" + root +
                                    "/out.mkv' -map 0:a -ac 1 -ar 44100 -f s16le -");
    ASSERT_GT(pcm.size(), 44100u * 2);
    size_t onset = 0;
    for (size_t i = 0; i + 1 < pcm.size(); i += 2) {
        int16_t sample = static_cast<int16_t>(static_cast<unsigned char>(pcm[i]) |
                                              (static_cast<unsigned char>(pcm[i + 1]) << 8));
        if (std::abs(sample) > 3000) {
            onset = i / 2;
            break;
        }
    }
    EXPECT_NEAR(static_cast<double>(onset) / 44100, 0.5, 0.02);
}

// Ctrl-C ends the run early, and the video (an mp4, which is unplayable unfinished) still plays
// and holds every frame the summary says was written. The signal goes once ffmpeg has begun the
// file, so that it falls among the rendered frames however slowly the machine runs.
TEST_F(CaptureRun, InterruptFinishesTheVideo) {
    if (!haveFFmpeg()) GTEST_SKIP() << "no ffmpeg";
    std::string binary = VEXMORO_BINARY;
    std::string video = root + "/out.mp4";
    std::vector<std::string> args = {binary, "--root", root, "--capture", video, "--to", "200"};
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(&arg[0]);
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, (root + "/stderr").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t child;
    ASSERT_EQ(posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    bool ended = false;
    bool begun = waitUntil([&] {
        ended = waitpid(child, &status, WNOHANG) == child;
        struct stat info;
        return ended || (stat(video.c_str(), &info) == 0 && info.st_size > 0);
    });
    if (!ended) {
        kill(child, begun ? SIGINT : SIGKILL);
        waitpid(child, &status, 0);
    }
    std::string err = readFile(root + "/stderr");
    ASSERT_TRUE(begun) << "ffmpeg never began the video\n" << err;
    ASSERT_FALSE(ended) << "the run ended before it was interrupted\n" << err;
    ASSERT_TRUE(WIFEXITED(status)) << err;
    EXPECT_EQ(WEXITSTATUS(status), 130) << err;
    EXPECT_NE(err.find("interrupted"), std::string::npos) << err;
    std::vector<std::string> found = streams(video);
    ASSERT_EQ(found.size(), 1u) << err;
    size_t wrote = err.find(", wrote ");
    ASSERT_NE(wrote, std::string::npos) << err;
    long long written = std::atoll(err.c_str() + wrote + 8);  // 0 for "none"
    EXPECT_GT(written, 0) << err;
    EXPECT_LT(written, 200 * 60) << err;
    EXPECT_EQ(commandOutput("ffprobe -v error -show_entries stream=nb_frames -of csv=p=0 '" +
                            video + "'"),
              std::to_string(written) + "\n");
}

// Missing, empty, garbage or damaged music: offline and live runs alike report it once, naming
// the file and why, and the show goes on silently. The damaged files used to kill the process
// (a division by zero in the decoding library, a 2^40-sample reservation) or take gigabytes.
TEST_F(CaptureRun, UnusableMusicIsReportedOnceAndTheShowGoesOn) {
    const std::string damaged = std::string(VEXMORO_REGRESSIONS) + "/ogg/";
    const std::string box = "CBass::init(): Unable to load music " + kMusic + ": ";
    struct Case {
        const char* name;
        std::string copyFrom;  // empty: the music file holds `bytes`
        const char* bytes;     // null: no music file at all
        const char* why;
        bool live;  // also played live (slow): where only a live run's seek reached the fault
    };
    const Case cases[] = {
        {"missing", "", nullptr, "No such file", false},
        {"empty", "", "", "not an Ogg Vorbis file", false},
        {"garbage", "", "not music", "not an Ogg Vorbis file", false},
        {"divides by zero reading", damaged + "ogg-fpe-read.ogg", nullptr, "hides inside", false},
        {"divides by zero after seeking", damaged + "ogg-fpe-seek.ogg", nullptr, "prefix code",
         true},
        {"claims 2^40 samples", damaged + "ogg-huge-granule.ogg", nullptr, "s of music", false},
        {"1 Hz", damaged + "ogg-rate1Hz.ogg", nullptr, "1 Hz", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(root + "/data");
        fs::create_directories(root + "/data/music");
        if (!c.copyFrom.empty()) fs::copy_file(c.copyFrom, root + "/" + kMusic);
        if (c.bytes != nullptr) std::ofstream(root + "/" + kMusic) << c.bytes;
        std::vector<Result> results = {run("--benchmark --fps 10 --to 0.2")};
        if (c.live) results.push_back(run("--windowed --start 209", "SDL_AUDIODRIVER=dummy"));
        for (const Result& result : results) {
            EXPECT_EQ(result.status, 0) << result.err;
            size_t first = result.err.find(box);
            ASSERT_NE(first, std::string::npos) << result.err;
            EXPECT_EQ(result.err.find(box, first + 1), std::string::npos) << result.err;
            EXPECT_NE(result.err.find(c.why, first), std::string::npos) << result.err;
        }
        size_t peak = results[0].out.find("peak memory");
        ASSERT_NE(peak, std::string::npos) << results[0].out;
        EXPECT_LT(std::stol(results[0].out.substr(peak + 11)), 512 * 1024) << "KiB";
    }
}

// Runs that write nothing, or a video ffmpeg never finished, fail and never claim otherwise.
TEST_F(CaptureRun, RunsThatWriteNothingFailAndSaySo) {
    fs::create_directories(root + "/bin");
    auto fakeFFmpeg = [&](const std::string& body) {
        std::ofstream(root + "/bin/ffmpeg") << "#!/bin/sh\n" << body << "\n";
        fs::permissions(root + "/bin/ffmpeg", fs::perms::owner_all);
        return "PATH=" + root + "/bin:/usr/bin:/bin";
    };
    struct Case {
        const char* name;
        std::string args;
        std::string env;
        std::string says;
    };
    const Case cases[] = {
        {"ffmpeg stops at once", "--capture out.mp4 --fps 10 --to 0.5", fakeFFmpeg("exit 1"),
         "the video " + root + "/out.mp4 was not made"},
        {"ffmpeg fails at the end", "--capture out.mkv --fps 10 --to 0.5",
         fakeFFmpeg("cat >/dev/null; exit 1"), "the video " + root + "/out.mkv was not made"},
        {"no frame in the range", "--capture frames --fps 1 --from 209.5 --to 209.6", "",
         "no frame lies in the range, so no frame was written"},
        {"range past the end", "--capture frames --from 300", "", "lies past the end of the show"},
        {"a video kind not written", "--capture out.avi", "", ".mp4, .mkv or .webm"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Result result = run(c.args, c.env);
        EXPECT_EQ(result.status, 1) << result.err;
        EXPECT_NE(result.err.find(c.says), std::string::npos) << result.err;
        size_t wrote = result.err.find(", wrote ");
        EXPECT_TRUE(wrote == std::string::npos ||
                    result.err.compare(wrote, 12, ", wrote none") == 0)
            << result.err;
    }
    EXPECT_FALSE(fs::exists(root + "/out.mp4"));
    EXPECT_FALSE(fs::exists(root + "/out.avi"));
}

TEST_F(CaptureRun, BenchmarkPrintsTheTableAndAJSONLine) {
    Result result = run("--benchmark --fps 30 --to 1");
    ASSERT_EQ(result.status, 0) << result.err;
    std::vector<std::string> lines;
    std::istringstream out(result.out);
    for (std::string line; std::getline(out, line);) lines.push_back(line);
    ASSERT_GE(lines.size(), 6u) << result.out;
    EXPECT_EQ(lines[0], std::string("renderer       ") + fixedglRenderer()) << result.out;
    EXPECT_EQ(lines[1].rfind("loading", 0), 0u) << result.out;
    auto row = [&](const std::string& name) {
        for (const std::string& line : lines)
            if (line.rfind(name + " ", 0) == 0) return line;
        return std::string();
    };
    EXPECT_NE(row("scene").find("median ms"), std::string::npos) << result.out;
    // Frames 0..30 lie in the range; frame 0 at exactly 0 s is in no scene.
    EXPECT_EQ(std::stoi(row("credits").substr(14)), 30) << result.out;
    EXPECT_EQ(std::stoi(row("empty").substr(14)), 1) << result.out;
    EXPECT_EQ(std::stoi(row("whole show").substr(14)), 31) << result.out;
    EXPECT_EQ(row("greetings"), "");
    EXPECT_NE(row("peak memory"), "");
    const std::string& json = lines.back();
    EXPECT_EQ(
        json.rfind(std::string("{\"renderer\":\"") + fixedglRenderer() + "\",\"loading_ms\":", 0),
        0u)
        << json;
    EXPECT_EQ(json.back(), '}') << json;
    EXPECT_NE(json.find("{\"name\":\"credits\",\"frames\":30,"), std::string::npos) << json;
    EXPECT_NE(json.find("\"show\":{\"frames\":31,"), std::string::npos) << json;
    EXPECT_EQ(json.find("null"), std::string::npos) << json;
}

}  // namespace
