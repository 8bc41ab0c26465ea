// Makes the whole data folder: textures/, objects/ and music/ under a root directory. The
// music is made on a second thread while the pictures and meshes are made on the caller's;
// the result does not depend on that timing.
#pragma once

#include <string>

#include "core/show.h"

struct SDataParts {
    bool pictures = true;
    bool meshes = true;
    bool music = true;
};

// False with a reason when a folder or file cannot be written.
bool generateDataSet(const std::string& root, const SDataParts& parts, std::string& error);
