// The program's icon for the desktop's menus: the title picture's sunset and floor grid on a
// tile with rounded corners, at every size of the hicolor icon theme, as RGBA PNG files.
// Cut from the show's own artwork; drawn nowhere else.
#pragma once

#include <string>
#include <vector>

#include "canvas.h"
#include "mask.h"

namespace iconpictures {

// Width and height of each icon, in pixels, largest last.
const std::vector<int>& sizes();
// The icon at one size: its colour, and its coverage (0 outside the tile) for the alpha channel.
CCanvas colour(int size);
CMask coverage(int size);
// Writes dir/<size>x<size>/apps/vexmoro.png for every size (the layout under
// share/icons/hicolor); false with a reason on the first failure.
bool writeAll(const std::string& dir, std::string& error);

}  // namespace iconpictures
