// Test support: fresh folders in the system's temporary folder, each claimed by creating it, so
// that concurrent runs of the suite never share a path, each removed with everything in it when
// its owner goes.
#pragma once

#include <string>

class ScratchDir {
public:
    explicit ScratchDir(const std::string& tag);
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    std::string path;  // empty when no folder could be made
};

// `name` in this process's own scratch folder, made on first use and removed at exit; the same
// name gives the same path.
std::string scratchPath(const std::string& name);

// A path in the same folder that no other call gives.
std::string tempPath(const std::string& name);
