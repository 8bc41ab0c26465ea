// Runs one file through everything the program does with a file of its kind (load, decode, seek,
// upload, normals, draw), so that fuzzing and the regression replay exercise the same paths.
// Judges only how the loaders answered, not what they made. Pictures and meshes need a current
// GL context; bar files and music need none.
#pragma once

#include <string>

struct DrillVerdict {
    bool accepted = true;    // every load took the file
    bool consistent = true;  // loads agreed, each refusal gave one reason, each acceptance none
    std::string reasons;     // what the refusals said, one line each
};

using LoaderDrill = DrillVerdict (*)(const std::string& path);

DrillVerdict drillJpeg(const std::string& path);  // Cjpeg, then CTexture::load
DrillVerdict drillPng(const std::string& path);   // pngBind without alpha, then CTexture::loadPNG
DrillVerdict drillTga(const std::string& path);
DrillVerdict drillEbr(const std::string& path);  // load, normals, every drawing, a slime brush
DrillVerdict drillBars(const std::string& path);
DrillVerdict drillOgg(const std::string& path);  // decode all, seek, the offline spectrum

// The drill for a regression folder's name (jpeg, png, tga, ebr, bars, ogg), or null.
LoaderDrill drillNamed(const std::string& name);
