// A program started with a pipe to its standard input, for streaming data to it (the video
// encoder feeds ffmpeg this way). It runs apart from the console's Ctrl-C, so that an interrupted
// capture can still end the stream and let it finish. One implementation per system
// (childprocess_posix.cpp, childprocess_windows.cpp). Main thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CChildProcess {
public:
    CChildProcess();
    // Closes the pipe and waits for the program, as finish() does.
    ~CChildProcess();
    CChildProcess(const CChildProcess&) = delete;
    CChildProcess& operator=(const CChildProcess&) = delete;

    // args: the program's path, then its arguments.
    bool start(const std::vector<std::string>& args, std::string& error);
    bool isRunning() const;
    // All of `bytes` or false, with the reason, when the program stopped taking them.
    bool write(const uint8_t* data, size_t bytes, std::string& error);
    // Closes the pipe and waits; true when the program exited with status 0, otherwise
    // `ending` says how it ended (its exit status, or the signal that ended it).
    bool finish(std::string& ending);

private:
    // The pipe's writing end and the program, in the system's own handles; each system's file
    // says what they are.
    struct Handles;
    std::unique_ptr<Handles> handles;
};
