#include "support/virtualscreen.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/commands.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

// What the command under xvfb-run does: waits until the server takes connections (xvfb-run can
// hand over a server still starting when it had to try another display number), reports the
// display, and keeps the server up until its input closes.
const char* const kHolder =
    "for try in $(seq 100); do"
    "  ffmpeg -v quiet -f x11grab -video_size 8x8 -i \"$DISPLAY\" -frames:v 1 -f null - && break;"
    "  sleep 0.1; "
    "done; "
    "echo \"$DISPLAY $XAUTHORITY\"; read ignored";

}  // namespace

pid_t spawn(const std::vector<std::string>& args, int stdinFd, int stdoutFd) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (stdinFd >= 0) posix_spawn_file_actions_adddup2(&actions, stdinFd, STDIN_FILENO);
    if (stdoutFd >= 0) posix_spawn_file_actions_adddup2(&actions, stdoutFd, STDOUT_FILENO);
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

VirtualScreen::VirtualScreen(int screenWidth, int screenHeight)
    : width(screenWidth), height(screenHeight) {
    int fds[2], hold[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return;
    if (pipe2(hold, O_CLOEXEC) != 0) {
        close(fds[0]);
        close(fds[1]);
        return;
    }
    // Free display numbers are looked for from one of our own, so that parallel test
    // programs seldom race for one.
    server = spawn(
        {"xvfb-run", "-n", std::to_string(100 + getpid() % 400), "-a", "-s",
         "-screen 0 " + std::to_string(width) + "x" + std::to_string(height) + "x24 -wr -noreset",
         "sh", "-c", kHolder},
        hold[0], fds[1]);
    close(fds[1]);
    close(hold[0]);
    holder = hold[1];
    FILE* out = fdopen(fds[0], "r");
    char line[512] = {};
    if (out != nullptr && std::fgets(line, sizeof line, out) != nullptr) {
        std::istringstream fields(line);
        fields >> display >> xauthority;
    }
    if (out != nullptr) std::fclose(out);
}

// xvfb-run does not wait for the server it stops; the next screen must not meet it.
VirtualScreen::~VirtualScreen() {
    std::string lock = "/tmp/.X" + display.substr(display.find(':') + 1) + "-lock";
    pid_t xvfb = -1;
    if (!display.empty()) std::ifstream(lock) >> xvfb;
    if (holder >= 0) close(holder);
    if (server > 0) waitpid(server, nullptr, 0);
    for (int tenths = 0; xvfb > 0 && tenths < 50 && fs::exists(lock); ++tenths) usleep(100000);
    if (xvfb > 0 && fs::exists(lock)) kill(xvfb, SIGKILL);
}

std::vector<unsigned char> VirtualScreen::grab(bool pointer) const {
    std::string command = "env " + env() + " ffmpeg -v error -f x11grab -draw_mouse " +
                          (pointer ? "1" : "0") + " -video_size " + std::to_string(width) + "x" +
                          std::to_string(height) + " -i " + display +
                          " -frames:v 1 -f rawvideo -pix_fmt rgb24 - 2>/dev/null";
    std::string bytes = commandOutput(command);
    return std::vector<unsigned char>(bytes.begin(), bytes.end());
}

// Lines such as `     0x200002 "CBass::init()": ()  200x100+0+0  +0+0`.
std::string VirtualScreen::windowId(const std::string& prefix) const {
    std::istringstream lines(commandOutput("env " + env() + " xwininfo -root -tree 2>/dev/null"));
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string id;
        fields >> id;
        size_t name = line.find(" \"");
        if (name != std::string::npos && line.compare(name + 2, prefix.size(), prefix) == 0)
            return id;
    }
    return "";
}
