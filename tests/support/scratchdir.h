// Test support: a fresh folder under /tmp for one test's files, removed with everything in it
// when the object goes.
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
