#include "offline/videoencoder.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <sstream>

extern char** environ;

namespace fs = std::filesystem;

namespace {

std::string lowerExtension(const std::string& path) {
    std::string extension = fs::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

// Codec choices per container: widely playable, and fast enough to keep up with the renderer.
std::vector<std::string> videoCodec(const std::string& extension) {
    if (extension == ".webm")
        return {"-c:v",    "libvpx-vp9", "-deadline", "realtime", "-cpu-used", "8",
                "-row-mt", "1",          "-b:v",      "0",        "-crf",      "30"};
    return {"-c:v", "libx264", "-preset", "veryfast", "-crf", "18"};
}

std::vector<std::string> audioCodec(const std::string& extension) {
    if (extension == ".webm") return {"-c:a", "libopus", "-b:a", "160k"};
    if (extension == ".mkv") return {"-c:a", "libvorbis", "-q:a", "6"};
    return {"-c:a", "aac", "-b:a", "192k"};
}

std::string seconds(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.6f", value);
    return text;
}

// How a finished ffmpeg ended, when that was not success: its exit status or its signal.
std::string howItEnded(int status) {
    if (WIFEXITED(status)) return "it exited with status " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status))
        return "it was ended by signal " + std::to_string(WTERMSIG(status)) + " (" +
               strsignal(WTERMSIG(status)) + ")";
    return "it ended with wait status " + std::to_string(status);
}

bool isExecutableFile(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           access(path.c_str(), X_OK) == 0;
}

}  // namespace

bool CVideoEncoder::isVideoPath(const std::string& path) {
    std::string extension = lowerExtension(path);
    return extension == ".mp4" || extension == ".mkv" || extension == ".webm";
}

bool CVideoEncoder::isOtherVideoPath(const std::string& path) {
    static const char* const kOthers[] = {
        ".avi", ".mov", ".qt",  ".wmv", ".asf",  ".flv", ".f4v", ".mpg", ".mpeg", ".m2v",  ".m4v",
        ".ogv", ".3gp", ".3g2", ".ts",  ".m2ts", ".mts", ".vob", ".rm",  ".rmvb", ".divx", ".y4m"};
    std::string extension = lowerExtension(path);
    return std::find(std::begin(kOthers), std::end(kOthers), extension) != std::end(kOthers);
}

std::string CVideoEncoder::findFFmpeg() {
    const char* path = std::getenv("PATH");
    std::stringstream folders(path != nullptr ? path : "");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        if (folder.empty()) continue;
        std::string candidate = folder + "/ffmpeg";
        if (isExecutableFile(candidate)) return candidate;
    }
    return "";
}

// Frames arrive bottom-up and are flipped by ffmpeg. The sound is padded with silence, so that a
// short music file never shortens the picture, and cut to the sample where the picture is planned
// to end; a picture that ends early (an interrupted run) still cuts it, to the encoder's frame.
std::vector<std::string> CVideoEncoder::commandLine(const Settings& s) {
    std::string extension = lowerExtension(s.path);
    std::vector<std::string> args = {
        s.ffmpeg,   "-hide_banner",
        "-nostdin", "-loglevel",
        "error",    "-y",
        "-f",       "rawvideo",
        "-pix_fmt", "rgb24",
        "-s",       std::to_string(s.width) + "x" + std::to_string(s.height),
        "-r",       std::to_string(s.fpsNumerator) + "/" + std::to_string(s.fpsDenominator),
        "-i",       "-"};
    bool sound = !s.musicPath.empty();
    if (sound) args.insert(args.end(), {"-ss", seconds(s.musicStart), "-i", s.musicPath});
    args.insert(args.end(), {"-map", "0:v"});
    if (sound) args.insert(args.end(), {"-map", "1:a"});
    args.insert(args.end(), {"-vf", "vflip", "-pix_fmt", "yuv420p"});
    std::vector<std::string> video = videoCodec(extension);
    args.insert(args.end(), video.begin(), video.end());
    if (sound) {
        std::vector<std::string> audio = audioCodec(extension);
        args.insert(args.end(), audio.begin(), audio.end());
        args.insert(args.end(), {"-af", "apad", "-shortest"});
        if (s.duration > 0) args.insert(args.end(), {"-t", seconds(s.duration)});
    }
    args.push_back(s.path);
    return args;
}

CVideoEncoder::CVideoEncoder() : pipe(-1), child(-1), frameBytes(0), previousSigpipe{} {}

CVideoEncoder::~CVideoEncoder() {
    std::string ignored;
    close(ignored);
}

// ffmpeg runs in a process group of its own, so that Ctrl-C reaches only this program, which
// then ends the stream and lets ffmpeg finish the file.
bool CVideoEncoder::open(const Settings& settings, std::string& error) {
    std::vector<std::string> args = commandLine(settings);
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(&arg[0]);
    argv.push_back(nullptr);
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        error = std::string("cannot make a pipe to ffmpeg: ") + std::strerror(errno);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[0], STDIN_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    int failed = posix_spawn(&child, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(fds[0]);
    if (failed != 0) {
        ::close(fds[1]);
        child = -1;
        error = "cannot start " + settings.ffmpeg + ": " + std::strerror(failed);
        return false;
    }
    pipe = fds[1];
    fcntl(pipe, F_SETPIPE_SZ, 1 << 20);  // fewer wake-ups per frame; a smaller pipe also works
    // A dead ffmpeg shows up as a failed write instead, while the pipe is open.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, &previousSigpipe);
    frameBytes = static_cast<size_t>(settings.width) * settings.height * 3;
    return true;
}

bool CVideoEncoder::write(const uint8_t* rgb, std::string& error) {
    size_t done = 0;
    while (done < frameBytes) {
        ssize_t written = ::write(pipe, rgb + done, frameBytes - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            error = std::string("ffmpeg stopped taking frames: ") + std::strerror(errno);
            return false;
        }
        done += static_cast<size_t>(written);
    }
    return true;
}

bool CVideoEncoder::close(std::string& error) {
    if (pipe >= 0) {
        ::close(pipe);
        sigaction(SIGPIPE, &previousSigpipe, nullptr);
    }
    pipe = -1;
    if (child < 0) return true;
    int status = 0;
    pid_t waited;
    do {
        waited = waitpid(child, &status, 0);
    } while (waited < 0 && errno == EINTR);
    child = -1;
    if (waited < 0) {
        error = std::string("ffmpeg could not finish the video: ") + std::strerror(errno);
        return false;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        error = "ffmpeg could not finish the video: " + howItEnded(status);
        return false;
    }
    return true;
}
