#include "core/options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

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

bool COptions::parse(int argc, const char* const* argv, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&](const char*& out) {
            if (i + 1 >= argc) {
                error = "option " + arg + " needs a value";
                return false;
            }
            out = argv[++i];
            return true;
        };
        const char* v = nullptr;
        double seconds = 0;
        if (arg == "-w" || arg == "--windowed") {
            windowed = true;
        } else if (arg == "--no-music") {
            noMusic = true;
        } else if (arg == "--silent") {
            silent = true;
        } else if (arg == "--benchmark") {
            benchmark = true;
        } else if (arg == "-h" || arg == "--help") {
            help = true;
        } else if (arg == "--version") {
            version = true;
        } else if (arg == "--bars" || arg == "--root" || arg == "--capture") {
            if (!value(v)) return false;
            if (*v == '\0') {
                error = "option " + arg + " needs a non-empty value";
                return false;
            }
            (arg == "--bars" ? barsFile : arg == "--root" ? root : capture) = v;
        } else if (arg == "--start" || arg == "--from" || arg == "--to") {
            if (!value(v)) return false;
            if (!parseSeconds(v, seconds)) {
                error = "option " + arg + " needs a number of seconds, not '" + v + "'";
                return false;
            }
            if (arg == "--start") {
                startGiven = true;
                start = static_cast<float>(seconds);
            } else if (arg == "--from") {
                fromGiven = true;
                from = seconds;
            } else {
                toGiven = true;
                to = seconds;
            }
        } else if (arg == "--fps") {
            if (!value(v)) return false;
            if (!parseRate(v, fpsNumerator, fpsDenominator)) {
                error = std::string("option --fps needs a rate such as 60 or 60000/1001, not '") +
                        v + "'";
                return false;
            }
        } else {
            error = "unknown option '" + arg + "'";
            return false;
        }
    }
    if (fromGiven && toGiven && to < from) {
        error = "--to lies before --from";
        return false;
    }
    return true;
}

const char* COptions::usage() {
    return "Usage: vexmoro [options]\n"
           "Plays the vexmoro demo: 800 by 600, full screen unless told otherwise.\n"
           "\n"
           "  -w, --windowed     an 800 by 600 window instead of full screen\n"
           "  --bars FILE        read a bar file before the window opens\n"
           "  --start SECONDS    start the show at that time\n"
           "  --no-music         play without music\n"
           "  --root DIR         the folder that holds data/ (default: the program's folder)\n"
           "  --capture PATH     render offline to a folder of PNG frames, or to a .mp4,\n"
           "                     .mkv or .webm video with the music\n"
           "  --fps N            frame rate of capture and benchmark (default 60; 60000/1001)\n"
           "  --from S, --to S   capture only frames whose show time lies in [S, S]\n"
           "  --silent           capture and benchmark with an all-zero spectrum\n"
           "  --benchmark        render the whole show offscreen and print frame times\n"
           "  -h, --help         this text\n"
           "  --version          the program's version\n"
           "\n"
           "Escape or closing the window ends the show.\n";
}
