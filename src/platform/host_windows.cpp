#include "platform/host.h"

#include <io.h>
#include <windows.h>
// psapi.h needs windows.h first.
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

void connectStandardStreams() {
    bool output = GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) != FILE_TYPE_UNKNOWN;
    bool errors = GetFileType(GetStdHandle(STD_ERROR_HANDLE)) != FILE_TYPE_UNKNOWN;
    if ((output && errors) || !AttachConsole(ATTACH_PARENT_PROCESS)) return;
    if (!output) std::freopen("CONOUT$", "w", stdout);
    if (!errors) std::freopen("CONOUT$", "w", stderr);
}

std::string programFileName(const std::string& name) {
    return name + ".exe";
}

// Folders are separated by semicolons and may be quoted; the current folder is not searched,
// as a program started through PATH would not be taken from there either.
std::string findProgramOnPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::stringstream folders(path != nullptr ? path : "");
    std::string folder;
    while (std::getline(folders, folder, ';')) {
        if (folder.size() >= 2 && folder.front() == '"' && folder.back() == '"')
            folder = folder.substr(1, folder.size() - 2);
        if (folder.empty()) continue;
        fs::path candidate = fs::u8path(folder) / programFileName(name);
        std::error_code error;
        if (fs::is_regular_file(candidate, error)) return candidate.u8string();
    }
    return "";
}

bool isTerminal(std::FILE* stream) {
    return _isatty(_fileno(stream)) != 0;
}

long peakResidentKiB() {
    PROCESS_MEMORY_COUNTERS counters{};
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0;
    return static_cast<long>(counters.PeakWorkingSetSize / 1024);
}

namespace {
bool unseen = false;
}

void prepareUnseenVideo() {
    unseen = true;
}

bool windowsStayHidden() {
    return unseen;
}
