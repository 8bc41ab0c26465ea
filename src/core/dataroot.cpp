#include "core/dataroot.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

CDataRoot::CDataRoot(const std::string& programFolder, const std::string& installedRoot)
    : program(programFolder), installed(installedRoot) {}

std::vector<std::string> CDataRoot::candidates() const {
    std::vector<std::string> roots;
    if (program.empty()) return roots;
    for (const fs::path& root : {fs::path(program), fs::path(program) / installed}) {
        // Without a trailing separator, so that "/usr/games/" and "/usr/games" are one place.
        fs::path normal = root.lexically_normal();
        if (!normal.has_filename() && normal.has_relative_path()) normal = normal.parent_path();
        if (std::find(roots.begin(), roots.end(), normal.string()) == roots.end())
            roots.push_back(normal.string());
    }
    return roots;
}

bool CDataRoot::find(const std::string& named, std::string& root, std::string& error) const {
    if (!named.empty()) {
        root = named;
        return true;
    }
    const std::vector<std::string> roots = candidates();
    std::string looked;
    for (const std::string& candidate : roots) {
        std::error_code code;
        const fs::path data = fs::path(candidate) / "data";
        if (fs::is_directory(data, code)) {
            root = candidate;
            return true;
        }
        looked += (looked.empty() ? "" : " and ") + data.string();
    }
    error = std::string("the show's data folder is missing: ") +
            (looked.empty() ? "the program cannot tell where it lies" : "looked for " + looked) +
            " (--root DIR names the folder that holds data/)";
    return false;
}
