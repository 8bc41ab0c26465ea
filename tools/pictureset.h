// The show's 24 pictures by file name and size, written as JPEG files under data/textures/,
// and a labelled contact sheet of all of them as PNG. Painting is deterministic.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "canvas.h"

struct SPictureSpec {
    std::string file;  // name under data/textures/
    int size;          // width and height in pixels
    std::function<CCanvas()> paint;
};

const std::vector<SPictureSpec>& showPictures();

// Paints every picture and writes it to dir/<file>; false with a reason on the first failure.
bool writePictures(const std::string& dir, std::string& error);
// A grid of every picture with its file name beneath, as one PNG.
bool writeContactSheet(const std::string& path, std::string& error);
