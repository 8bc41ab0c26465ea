// Sphere-mapped environment pictures: what a chrome ball would reflect, with coloured horizons
// and bright lamps, for the spiky object, the box and their glow passes.
#pragma once

#include "canvas.h"

namespace mirrorpictures {

CCanvas chrome();  // cool sky, bright lamps: the spiky object in the room
CCanvas neon();    // dark, with neon bands: glow passes and the box's added layer
CCanvas sunset();  // warm gold: the box's first layer

}  // namespace mirrorpictures
