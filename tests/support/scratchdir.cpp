#include "support/scratchdir.h"

#include <stdlib.h>

#include <filesystem>
#include <system_error>
#include <vector>

ScratchDir::ScratchDir(const std::string& tag) {
    std::string pattern = "/tmp/vexmoro-" + tag + "-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) != nullptr) path = buffer.data();
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    if (!path.empty()) std::filesystem::remove_all(path, ignored);
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
