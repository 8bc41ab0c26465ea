#include "app/commandline.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iterator>

namespace {

// Beyond any use; a far higher rate only multiplies the frames a run must draw.
constexpr long kMaxFps = 1000;

bool parseSeconds(const char* text, double& value) {
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text, &end);
    return errno == 0 && end != text && *end == '\0' && std::isfinite(value) && value >= 0;
}

bool parsePositive(const char* text, long& value) {
    char* end = nullptr;
    errno = 0;
    value = std::strtol(text, &end, 10);
    return errno == 0 && end != text && *end == '\0' && value > 0 && value <= 1000000;
}

// "60" or "60000/1001".
bool parseRate(const std::string& text, long& numerator, long& denominator) {
    size_t slash = text.find('/');
    if (slash == std::string::npos) {
        denominator = 1;
        return parsePositive(text.c_str(), numerator);
    }
    return parsePositive(text.substr(0, slash).c_str(), numerator) &&
           parsePositive(text.substr(slash + 1).c_str(), denominator);
}

}  // namespace

CCommandLine::CCommandLine(COptions& target) : options(target) {}

bool CCommandLine::takeFlag(const std::string& arg) {
    if (arg == "--vsync" || arg == "--no-vsync") {
        options.vsync = arg == "--vsync";
        return true;
    }
    bool* flag = arg == "-w" || arg == "--windowed" ? &options.windowed
                 : arg == "--no-music"              ? &options.noMusic
                 : arg == "--silent"                ? &options.silent
                 : arg == "--benchmark"             ? &options.benchmark
                 : arg == "-h" || arg == "--help"   ? &options.help
                 : arg == "--version"               ? &options.version
                                                    : nullptr;
    if (flag != nullptr) *flag = true;
    return flag != nullptr;
}

bool CCommandLine::takeSeconds(const std::string& arg, const char* value, std::string& error) {
    double seconds = 0;
    if (!parseSeconds(value, seconds)) {
        error = "option " + arg + " needs a number of seconds, not '" + value + "'";
        return false;
    }
    if (arg == "--start") {
        options.startGiven = true;
        options.start = static_cast<float>(seconds);
    } else if (arg == "--from") {
        options.fromGiven = true;
        options.from = seconds;
    } else {
        options.toGiven = true;
        options.to = seconds;
    }
    return true;
}

bool CCommandLine::takeRate(const char* value, std::string& error) {
    if (!parseRate(value, options.fpsNumerator, options.fpsDenominator)) {
        error =
            std::string("option --fps needs a rate such as 60 or 60000/1001, not '") + value + "'";
        return false;
    }
    if (options.fpsNumerator <= kMaxFps * options.fpsDenominator) return true;
    error = "option --fps allows at most " + std::to_string(kMaxFps) + " frames per second, not '" +
            value + "'";
    return false;
}

bool CCommandLine::takeValue(const std::string& arg, const char* value, std::string& error) {
    if (arg == "--start" || arg == "--from" || arg == "--to") return takeSeconds(arg, value, error);
    if (arg == "--fps") return takeRate(value, error);
    if (*value == '\0') {
        error = "option " + arg + " needs a non-empty value";
        return false;
    }
    (arg == "--bars" ? options.barsFile : arg == "--root" ? options.root : options.capture) = value;
    return true;
}

bool CCommandLine::parse(int argc, const char* const* argv, std::string& error) {
    static const char* const valued[] = {"--bars", "--root", "--capture", "--start",
                                         "--from", "--to",   "--fps"};
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (takeFlag(arg)) continue;
        if (std::find(std::begin(valued), std::end(valued), arg) == std::end(valued)) {
            error = "unknown option '" + arg + "'";
            return false;
        }
        if (i + 1 >= argc) {
            error = "option " + arg + " needs a value";
            return false;
        }
        if (!takeValue(arg, argv[++i], error)) return false;
    }
    if (options.fromGiven && options.toGiven && options.to < options.from) {
        error = "--to lies before --from";
        return false;
    }
    return true;
}

const char* CCommandLine::usage() {
    return "Usage: vexmoro [options]\n"
           "Plays the vexmoro demo: an 800 by 600 picture scaled to fill the screen, or a\n"
           "window that can be resized.\n"
           "\n"
           "  -w, --windowed     a window instead of full screen (800 by 600, resizable)\n"
           "  --bars FILE        read a bar file before the window opens\n"
           "  --start SECONDS    start the show at that time\n"
           "  --no-music         play without music\n"
           "  --vsync            wait for the display's refresh at each frame (default)\n"
           "  --no-vsync         draw frames as fast as the machine can\n"
           "  --root DIR         the folder that holds data/ (default: beside the program,\n"
           "                     then the data folder installed with it)\n"
           "  --capture PATH     render offline to a folder of PNG frames, or to a .mp4,\n"
           "                     .mkv or .webm video with the music\n"
           "  --fps N            frame rate of capture and benchmark (default 60; 60000/1001;\n"
           "                     at most 1000)\n"
           "  --from S, --to S   capture only frames whose show time lies in [S, S]\n"
           "  --silent           capture and benchmark with an all-zero spectrum\n"
           "  --benchmark        render the whole show offscreen and print frame times\n"
           "  -h, --help         this text\n"
           "  --version          the program's version\n"
           "\n"
           "Escape or closing the window ends the show.\n";
}
