#include "platform/host.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>

namespace {

bool isExecutableFile(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           access(path.c_str(), X_OK) == 0;
}

}  // namespace

void connectStandardStreams() {}

std::string programFileName(const std::string& name) {
    return name;
}

std::string findProgramOnPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::stringstream folders(path != nullptr ? path : "");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        if (folder.empty()) continue;
        std::string candidate = folder + "/" + name;
        if (isExecutableFile(candidate)) return candidate;
    }
    return "";
}

bool isTerminal(std::FILE* stream) {
    return isatty(fileno(stream)) == 1;
}

long peakResidentKiB() {
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;  // KiB on Linux
}

void prepareUnseenVideo() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
}

bool windowsStayHidden() {
    return false;
}
