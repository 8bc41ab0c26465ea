// Test support: a virtual X server for tests that run the show, or parts of it, on a real screen,
// and the spawning of the processes that use it. Needs xvfb-run, ffmpeg (to grab the screen) and
// xwininfo (to find windows).
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "support/commands.h"

// Starts `args` (looked up on PATH) with the given descriptors as its standard input and output;
// -1 where the caller's are kept. Gives the process id, or -1.
pid_t spawn(const std::vector<std::string>& args, int stdinFd = -1, int stdoutFd = -1);

// A virtual X server from xvfb-run with a white root window, up while the object lives. It never
// resets: a bare server resets when its last client leaves, and a show that asks the desktop's size
// before opening its window would meet the reset between the two connections.
class VirtualScreen {
public:
    VirtualScreen(int screenWidth, int screenHeight);
    ~VirtualScreen();
    VirtualScreen(const VirtualScreen&) = delete;
    VirtualScreen& operator=(const VirtualScreen&) = delete;

    bool ready() const { return server > 0 && !display.empty(); }
    // Assignments for `env` that point a program at this screen.
    std::string env() const { return "DISPLAY=" + display + " XAUTHORITY=" + xauthority; }

    // The whole screen, top row first, RGB; the pointer drawn in where asked.
    std::vector<unsigned char> grab(bool pointer) const;
    // The id (such as 0x200002) of a window on the screen whose name begins with `prefix`, as
    // xwininfo lists them; empty when there is none.
    std::string windowId(const std::string& prefix) const;

    int width, height;
    std::string display, xauthority;

private:
    pid_t server = -1;  // xvfb-run
    int holder = -1;    // closing it ends the command, and with it the server
};
