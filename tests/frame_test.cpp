// The 800 by 600 frame on a real screen: under virtual X servers the show fills the screen, or
// its window, with the whole frame, shape kept, and follows a resized window. Also the runs that
// draw without a screen: bar files larger than any display, and a GL without framebuffer objects.
#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/show.h"
#include "platform/glwindow.h"
#include "show/demo.h"
#include "support/picturefiles.h"
#include "support/scratchdir.h"
#include "support/virtualscreen.h"

namespace fs = std::filesystem;

namespace {

using Rgb = std::array<int, 3>;

// The loading picture of the test root: far from the black bars and the white X root.
const Rgb kLoadingColour = {40, 200, 90};

struct Rect {
    int x, y, width, height;  // screen pixels from the top-left corner
    bool holds(int px, int py, int margin) const {
        return px >= x - margin && px < x + width + margin && py >= y - margin &&
               py < y + height + margin;
    }
};

// Empty where the screens can be made and grabbed; otherwise why not.
std::string missingTools() {
    if (!haveCommand("xvfb-run")) return "xvfb-run is not installed (scripts/install-deps.sh)";
    if (std::system("ffmpeg -hide_banner -devices 2>/dev/null | grep -q x11grab") != 0)
        return "ffmpeg with x11grab is not installed (scripts/install-deps.sh)";
    return "";
}

bool near(const unsigned char* p, const Rgb& colour, int tolerance) {
    for (int c = 0; c < 3; ++c)
        if (std::abs(p[c] - colour[c]) > tolerance) return false;
    return true;
}

// Empty when the screen shows `colour` over `box`, black around it inside `window`, and the white
// root outside; otherwise the first pixel that does not. Edges may blend over 2 pixels.
std::string screenProblem(const VirtualScreen& screen, const std::vector<unsigned char>& rgb,
                          const Rect& window, const Rect& box, const Rgb& colour) {
    if (rgb.size() != static_cast<size_t>(screen.width) * screen.height * 3)
        return "the grab has " + std::to_string(rgb.size()) + " bytes";
    for (int y = 0; y < screen.height; ++y)
        for (int x = 0; x < screen.width; ++x) {
            if (window.holds(x, y, 0) && box.holds(x, y, 2) && !box.holds(x, y, -2)) continue;
            Rgb want = !window.holds(x, y, 0) ? Rgb{255, 255, 255}
                       : box.holds(x, y, 0)   ? colour
                                              : Rgb{0, 0, 0};
            const unsigned char* p = &rgb[(static_cast<size_t>(y) * screen.width + x) * 3];
            if (!near(p, want, 12))
                return "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") is " +
                       std::to_string(p[0]) + "," + std::to_string(p[1]) + "," +
                       std::to_string(p[2]) + ", not " + std::to_string(want[0]) + "," +
                       std::to_string(want[1]) + "," + std::to_string(want[2]);
        }
    return "";
}

// Where the 512 by 512 loading picture lands when the frame fills `frame`.
Rect loadingPicture(const Rect& frame) {
    int x0 = frame.x + kCentredPictureX * frame.width / kFrameWidth,
        x1 = frame.x + (kCentredPictureX + kCentredPictureSize) * frame.width / kFrameWidth;
    int y0 = frame.y + kCentredPictureY * frame.height / kFrameHeight,
        y1 = frame.y + (kCentredPictureY + kCentredPictureSize) * frame.height / kFrameHeight;
    return {x0, y0, x1 - x0, y1 - y0};
}

// The show's own data, but a loading picture of one colour, and a FIFO for the audio output.
void makeShowRoot(const std::string& root) {
    const std::string data = VEXMORO_DATA_DIR;
    fs::create_directories(root + "/data/textures");
    for (const auto& entry : fs::directory_iterator(data + "/textures"))
        if (entry.path().filename() != "loading.jpg")
            fs::create_symlink(entry.path(),
                               fs::path(root) / "data/textures" / entry.path().filename());
    Bytes pixels;
    for (int i = 0; i < 64 * 64; ++i)
        for (int c : kLoadingColour) pixels.push_back(static_cast<unsigned char>(c));
    writeJpeg(root + "/data/textures/loading.jpg", 64, 64, pixels);
    fs::create_directory_symlink(data + "/objects", root + "/data/objects");
    fs::create_directory_symlink(data + "/music", root + "/data/music");
    mkfifo((root + "/audio.fifo").c_str(), 0600);
}

// A bar file for a window of that size, starting at `start` seconds, with the show's music.
std::string windowBars(const std::string& root, int width, int height, float start = 0) {
    std::string path = root + "/window.bars";
    std::ofstream out(path, std::ios::binary);
    auto u32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) out.put(static_cast<char>(v >> (8 * i)));
    };
    uint32_t startBits;
    std::memcpy(&startBits, &start, sizeof startBits);
    const std::string music = std::string(kMusicFolder) + kMusicFile;
    for (uint32_t field :
         {0u, startBits, static_cast<uint32_t>(width), static_cast<uint32_t>(height), 0u, 1u, 0u})
        u32(field);  // no name, start, size, windowed, music on, no tempo
    u32(static_cast<uint32_t>(music.size()));
    out << music;
    u32(0);  // no bars
    return path;
}

// The show, run as a user runs it on `screen`. Music goes to the FIFO of the root, which nobody
// reads: the audio device opens after every scene has loaded and then waits for a reader, so the
// loading screen stays up for as long as the test looks.
class ShowOnScreen {
public:
    ShowOnScreen(const VirtualScreen& screen, const std::string& root, const std::string& args) {
        pid = spawn({"sh", "-c",
                     "exec env " + screen.env() +
                         " SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=" + root +
                         "/audio.fifo " + VEXMORO_BINARY + " --root " + root + " " + args + " >" +
                         root + "/show.log 2>&1"});
    }
    ~ShowOnScreen() {
        if (pid <= 0) return;
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }

    // A FIFO opened for writing waits in the kernel's wait_for_partner.
    bool waitForAudioDevice() {
        for (int tenths = 0; pid > 0 && tenths < 600; ++tenths) {
            if (waitpid(pid, nullptr, WNOHANG) == pid) {
                pid = -1;  // ended, and reaped
                return false;
            }
            std::ifstream wchan("/proc/" + std::to_string(pid) + "/wchan");
            std::string where;
            if (wchan >> where && where == "wait_for_partner") return true;
            usleep(100000);
        }
        return false;
    }

private:
    pid_t pid = -1;
};

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(ScreenFill, DefaultRunAndBarWindowShowTheWholeFrameShapeKept) {
    std::string missing = missingTools();
    if (!missing.empty()) GTEST_SKIP() << missing << ": the screens cannot be checked";
    ScratchDir scratch("screenfill");
    ASSERT_FALSE(scratch.path.empty());
    makeShowRoot(scratch.path);
    struct Row {
        const char* name;
        int width, height;
        std::string args;
        Rect window, frame;
    };
    const Row rows[] = {
        {"full screen 1024x768", 1024, 768, "", {0, 0, 1024, 768}, {0, 0, 1024, 768}},
        {"full screen 1280x720", 1280, 720, "", {0, 0, 1280, 720}, {160, 0, 960, 720}},
        {"full screen 1920x1200", 1920, 1200, "", {0, 0, 1920, 1200}, {160, 0, 1600, 1200}},
        {"640x480 bar file in a window",
         1024,
         768,
         "--bars " + windowBars(scratch.path, 640, 480),
         {0, 0, 640, 480},
         {0, 0, 640, 480}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        VirtualScreen screen(row.width, row.height);
        ASSERT_TRUE(screen.ready()) << "xvfb-run did not bring a server up";
        ShowOnScreen show(screen, scratch.path, row.args);
        ASSERT_TRUE(show.waitForAudioDevice())
            << "the show never got past loading: " << readText(scratch.path + "/show.log");
        // Full screen hides the pointer: drawn into the grab, it would show over the picture.
        bool full = row.args.empty();
        std::string problem = screenProblem(screen, screen.grab(full), row.window,
                                            loadingPicture(row.frame), kLoadingColour);
        EXPECT_EQ(problem, "");
    }
}

TEST(ScreenFill, ResizedWindowShowsTheFrameFromTheNextFrameOn) {
    std::string missing = missingTools();
    if (!missing.empty()) GTEST_SKIP() << missing << ": the window cannot be checked";
    VirtualScreen screen(1024, 768);
    ASSERT_TRUE(screen.ready()) << "xvfb-run did not bring a server up";
    setenv("DISPLAY", screen.display.c_str(), 1);
    setenv("XAUTHORITY", screen.xauthority.c_str(), 1);
    SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "x11", SDL_HINT_OVERRIDE);
    {
        CGLWindow window;
        ASSERT_TRUE(window.initWindow(kFrameWidth, kFrameHeight, false));
        glClearColor(kLoadingColour[0] / 255.0f, kLoadingColour[1] / 255.0f,
                     kLoadingColour[2] / 255.0f, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        window.swapBuffers();
        SDL_SetWindowSize(window.hwnd, 400, 600);
        int w = 0, h = 0;
        for (int tries = 0; tries < 100 && (w != 400 || h != 600); ++tries) {
            SDL_PumpEvents();
            SDL_Delay(10);
            SDL_GL_GetDrawableSize(window.hwnd, &w, &h);
        }
        window.swapBuffers();
        glFinish();
        // The frame is shown once; only the server may take a moment to put it on screen.
        std::string problem = "never grabbed";
        for (int tries = 0; tries < 20 && !problem.empty(); ++tries, SDL_Delay(100))
            problem = screenProblem(screen, screen.grab(false), {0, 0, 400, 600},
                                    {0, 150, 400, 300}, kLoadingColour);
        EXPECT_EQ(problem, "");
    }
    SDL_ResetHint(SDL_HINT_VIDEODRIVER);
    unsetenv("DISPLAY");
    unsetenv("XAUTHORITY");
}

// Live runs wait for the refresh as asked and show every frame; offline runs do neither.
TEST(FrameOptions, VsyncAndPresentingFollowTheKindOfRun) {
    struct Row {
        const char* name;
        bool vsync, benchmark;
        int interval;
        bool presenting;
    };
    const Row rows[] = {
        {"window", true, false, 1, true},
        {"window, --no-vsync", false, false, 0, true},
        {"benchmark, --vsync ignored", true, true, 0, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        COptions options;
        options.windowed = true;
        options.vsync = row.vsync;
        options.benchmark = row.benchmark;
        CDemo demo(options, nullptr);
        ASSERT_TRUE(demo.windowOpened);
        EXPECT_EQ(SDL_GL_GetSwapInterval(), row.interval);
        EXPECT_EQ(demo.window->presenting, row.presenting);
    }
}

// Offline runs draw the frame alone: a bar file larger than any display is taken, and a GL
// without framebuffer objects draws into the offscreen window instead, with a note.
TEST(OfflineFrame, CaptureWritesTheFrameWhateverTheWindow) {
    ScratchDir scratch("offlineframe");
    ASSERT_FALSE(scratch.path.empty());
    struct Row {
        const char* name;
        std::string env, args;
        bool fallback;
    };
    const std::string noFramebuffers =
        "MESA_GL_VERSION_OVERRIDE=2.1 MESA_EXTENSION_OVERRIDE=-GL_ARB_framebuffer_object";
    const Row rows[] = {
        {"16384x16384 bar file", "", "--bars " + windowBars(scratch.path, 16384, 16384, 2.5f),
         false},
        {"no framebuffer objects", noFramebuffers, "--start 2.5", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::string frames = scratch.path + "/frames";
        fs::remove_all(frames);
        std::string command = "cd " + scratch.path + " && env " + row.env + " " + VEXMORO_BINARY +
                              " --root " + scratch.path + " --capture " + frames + " --to 2.5 " +
                              row.args + " >" + scratch.path + "/out 2>&1";
        int status = std::system(command.c_str());
        std::string out = readText(scratch.path + "/out");
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << out;
        EXPECT_NE(out.find("2.500 to 2.500 s"), std::string::npos) << "start taken: " << out;
        EXPECT_EQ(out.find("loadBars"), std::string::npos) << out;
        EXPECT_EQ(out.find("no framebuffer objects") != std::string::npos, row.fallback) << out;
        std::string png = readText(frames + "/frame-000000.png");
        ASSERT_GE(png.size(), 24u);
        auto be32 = [&](size_t at) {
            return (static_cast<uint32_t>(static_cast<unsigned char>(png[at])) << 24) |
                   (static_cast<uint32_t>(static_cast<unsigned char>(png[at + 1])) << 16) |
                   (static_cast<uint32_t>(static_cast<unsigned char>(png[at + 2])) << 8) |
                   static_cast<unsigned char>(png[at + 3]);
        };
        EXPECT_EQ(be32(16), 800u);  // the IHDR chunk's width and height
        EXPECT_EQ(be32(20), 600u);
    }
}

}  // namespace
