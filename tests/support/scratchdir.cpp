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
