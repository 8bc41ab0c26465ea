#include "show/dataroot.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

CDataRoot::CDataRoot(const fs::path& programFolder, const std::string& installedRoot)
    : program(programFolder), installed(installedRoot) {}

std::vector<fs::path> CDataRoot::candidates() const {
    std::vector<fs::path> roots;
    if (program.empty()) return roots;
    for (const fs::path& root : {program, program / installed}) {
        // Without a trailing separator, so that "/usr/games/" and "/usr/games" are one place.
        fs::path normal = root.lexically_normal();
        if (!normal.has_filename() && normal.has_relative_path()) normal = normal.parent_path();
        if (std::find(roots.begin(), roots.end(), normal) == roots.end()) roots.push_back(normal);
    }
    return roots;
}

bool CDataRoot::find(const std::string& named, fs::path& root, std::string& error) const {
    if (!named.empty()) {
        root = named;
        return true;
    }
    std::string looked;
    for (const fs::path& candidate : candidates()) {
        std::error_code code;
        const fs::path data = candidate / "data";
        if (fs::is_directory(data, code)) {
            root = candidate;
            return true;
        }
        looked += (looked.empty() ? "" : " and ") + data.u8string();
    }
    error = std::string("the show's data folder is missing: ") +
            (looked.empty() ? "the program cannot tell where it lies" : "looked for " + looked) +
            " (--root DIR names the folder that holds data/)";
    return false;
}
