// Finds the folder that holds the show's data/ (the show reads "data/..." relative to it): the
// one named with --root, else the program's own folder (a build folder, an unpacked copy), else
// the installed data folder relative to the program. Looks only; changes no folder. Portable:
// the program's folder comes from the platform layer, as a path, so that any name works.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

class CDataRoot {
public:
    // installedRoot: the installed root relative to the program's folder, as the build laid it
    // out ("../share/games/vexmoro" beside "games/").
    CDataRoot(const std::filesystem::path& programFolder, const std::string& installedRoot);

    // The roots looked at, in order, when none is named.
    std::vector<std::filesystem::path> candidates() const;

    // `named` when not empty, as the user chose it; else the first candidate holding data/.
    // False, with `error` (UTF-8) naming every data folder looked for, when none does.
    bool find(const std::string& named, std::filesystem::path& root, std::string& error) const;

private:
    std::filesystem::path program;
    std::string installed;
};
