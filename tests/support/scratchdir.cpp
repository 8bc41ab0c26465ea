#include "support/scratchdir.h"

#include <filesystem>
#include <random>
#include <system_error>

namespace fs = std::filesystem;

// A name no other folder has, claimed by creating it (the system's temporary folder: /tmp, or
// %TEMP% on Windows).
ScratchDir::ScratchDir(const std::string& tag) {
    std::error_code error;
    fs::path base = fs::temp_directory_path(error);
    if (error) return;
    std::random_device seed;
    std::mt19937_64 pick(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate = base / ("vexmoro-" + tag + "-" + std::to_string(pick() % 1000000000));
        if (fs::create_directory(candidate, error)) {
            path = candidate.generic_string();
            return;
        }
    }
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    if (!path.empty()) fs::remove_all(path, ignored);
}

// A static, so that it goes when the process exits normally. Without a folder the path leads
// nowhere, and the test that writes there fails rather than sharing a path.
std::string scratchPath(const std::string& name) {
    static const ScratchDir folder("test");
    return (folder.path.empty() ? std::string("/nonexistent") : folder.path) + "/" + name;
}

std::string tempPath(const std::string& name) {
    static int counter = 0;
    return scratchPath(std::to_string(++counter) + "_" + name);
}
