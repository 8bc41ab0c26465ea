#include "platform/childprocess.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <string>

extern char** environ;

namespace {

std::string howItEnded(int status) {
    if (WIFEXITED(status)) return "it exited with status " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status))
        return "it was ended by signal " + std::to_string(WTERMSIG(status)) + " (" +
               strsignal(WTERMSIG(status)) + ")";
    return "it ended with wait status " + std::to_string(status);
}

}  // namespace

struct CChildProcess::Handles {
    int input = -1;
    int child = -1;
    struct sigaction previousSigpipe {};  // put back once the pipe is closed
};

CChildProcess::CChildProcess() : handles(std::make_unique<Handles>()) {}

CChildProcess::~CChildProcess() {
    std::string ignored;
    finish(ignored);
}

bool CChildProcess::isRunning() const {
    return handles->input >= 0;
}

// A process group of its own keeps the terminal's Ctrl-C from reaching the program.
bool CChildProcess::start(const std::vector<std::string>& args, std::string& error) {
    std::vector<std::string> copies = args;
    std::vector<char*> argv;
    for (std::string& arg : copies) argv.push_back(&arg[0]);
    argv.push_back(nullptr);
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        error = std::string("cannot make a pipe to ") + args[0] + ": " + std::strerror(errno);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[0], STDIN_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    pid_t pid = -1;
    int failed = posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(fds[0]);
    if (failed != 0) {
        ::close(fds[1]);
        error = "cannot start " + args[0] + ": " + std::strerror(failed);
        return false;
    }
    handles->child = pid;
    handles->input = fds[1];
    // Fewer wake-ups per frame; a smaller pipe also works.
    fcntl(handles->input, F_SETPIPE_SZ, 1 << 20);
    // A dead program shows up as a failed write instead, while the pipe is open.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, &handles->previousSigpipe);
    return true;
}

bool CChildProcess::write(const uint8_t* data, size_t bytes, std::string& error) {
    size_t done = 0;
    while (done < bytes) {
        ssize_t written = ::write(handles->input, data + done, bytes - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            error = std::strerror(errno);
            return false;
        }
        done += static_cast<size_t>(written);
    }
    return true;
}

bool CChildProcess::finish(std::string& ending) {
    if (handles->input >= 0) {
        ::close(handles->input);
        sigaction(SIGPIPE, &handles->previousSigpipe, nullptr);
    }
    handles->input = -1;
    if (handles->child < 0) return true;
    int status = 0;
    pid_t waited;
    do {
        waited = waitpid(handles->child, &status, 0);
    } while (waited < 0 && errno == EINTR);
    handles->child = -1;
    if (waited < 0) {
        ending = std::string("it could not be waited for: ") + std::strerror(errno);
        return false;
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
    ending = howItEnded(status);
    return false;
}
