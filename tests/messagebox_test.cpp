// Message boxes on a real screen, in a live run: while a box waits for its button, SIGTERM and
// Ctrl-C still end the program and take the box with them; closed, the box lets the show go on,
// and a signal then ends the show as it ends any live run.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "support/polling.h"
#include "support/scratchdir.h"
#include "support/virtualscreen.h"

namespace fs = std::filesystem;

namespace {

const char kBox[] = "CBass::init()";

// Empty where boxes can be shown, found and answered; otherwise what is missing.
std::string missingTools() {
    for (const char* tool : {"xvfb-run", "ffmpeg", "xwininfo", "xdotool"})
        if (!haveCommand(tool)) return std::string(tool) + " is not installed";
    // The server's own fonts: without them SDL cannot draw a box and prints it instead.
    if (!fs::exists("/usr/share/fonts/X11/misc/fonts.dir")) return "xfonts-base is not installed";
    return "";
}

// The show's data without its music: once loading is done, a box says so and waits.
std::string rootWithoutMusic(const std::string& folder) {
    const fs::path data = VEXMORO_DATA_DIR;
    fs::create_directories(folder + "/data");
    fs::create_directory_symlink(data / "textures", folder + "/data/textures");
    fs::create_directory_symlink(data / "objects", folder + "/data/objects");
    return folder;
}

// The show in a window on `screen`, as a user starts it; killed if a test leaves it running.
class LiveShow {
public:
    LiveShow(const VirtualScreen& screen, const std::string& root)
        : pid(spawn({"sh", "-c",
                     "exec env " + screen.env() + " SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy " +
                         VEXMORO_BINARY + " --windowed --root " + root + " >" + root +
                         "/show.log 2>&1"})) {}
    ~LiveShow() {
        if (pid <= 0) return;
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }

    // Waits for the program to end after a signal; gives its wait status, or -1.
    int endAfter(int signal) {
        kill(pid, signal);
        int status = -1;
        bool ended = waitUntil([&] { return waitpid(pid, &status, WNOHANG) == pid; }, 30);
        if (ended) pid = -1;
        return ended ? status : -1;
    }

    pid_t pid;
};

// A screen for the show, and its data without the music.
class MessageBox : public ::testing::Test {
protected:
    void SetUp() override {
        std::string missing = missingTools();
        if (!missing.empty()) GTEST_SKIP() << missing << ": no box can be shown";
        ASSERT_FALSE(scratch.path.empty());
        root = rootWithoutMusic(scratch.path);
        screen.reset(new VirtualScreen(800, 600));
        ASSERT_TRUE(screen->ready()) << "xvfb-run did not bring a server up";
    }

    // The id of the box once it is up; empty if it never came.
    std::string boxOf(LiveShow& show) {
        std::string box;
        waitUntil([&] { return show.pid <= 0 || !(box = screen->windowId(kBox)).empty(); });
        return box;
    }

    ScratchDir scratch{"messagebox"};
    std::string root;
    std::unique_ptr<VirtualScreen> screen;
};

TEST_F(MessageBox, StopSignalsEndTheProgramAndItsBox) {
    for (int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(strsignal(signal));
        LiveShow show(*screen, root);
        ASSERT_NE(boxOf(show), "") << "no box came up";
        int status = show.endAfter(signal);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << "status " << status;
        EXPECT_TRUE(waitUntil([&] { return screen->windowId(kBox).empty(); }, 30))
            << "the box outlived the program";
    }
}

TEST_F(MessageBox, ClosedBoxLetsTheShowGoOnUntilASignalEndsIt) {
    LiveShow show(*screen, root);
    std::string box = boxOf(show);
    ASSERT_NE(box, "") << "no box came up";
    std::string press = "env " + screen->env() + " xdotool key --window " + box + " Return";
    ASSERT_EQ(std::system(press.c_str()), 0);
    EXPECT_TRUE(waitUntil([&] { return !screen->windowId("Time=").empty(); }))
        << "the show did not go on";
    int status = show.endAfter(SIGTERM);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
}

}  // namespace
