// The pictures that cover surfaces: the particle sprite, the floor layers, the room walls and
// the tunnel walls. All but the sprite tile seamlessly in both directions.
#pragma once

#include "canvas.h"

namespace surfacepictures {

CCanvas particle();
CCanvas floorGrid();
CCanvas floorGloss();
CCanvas roomWalls();
CCanvas tunnelWalls();
CCanvas tunnelGlow();

}  // namespace surfacepictures
