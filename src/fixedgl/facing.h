// What becomes of a polygon drawn while a polygon mode is not GL_FILL: GL decides which side
// faces the viewer from the window positions of its first three corners (counter-clockwise is
// the front), culls it if face culling asks, and fills it or draws its edges as the polygon mode
// of that side says. The gles3 renderer works this out itself, as ES has no polygon modes. Pure
// arithmetic; any thread.
#pragma once

#include "fixedgl/drawstate.h"

enum class EFaceDrawn { None, Filled, Lines };

// a, b, c: object coordinates (x, y, z) of the first three corners.
EFaceDrawn faceDrawn(const SDrawState& state, const CMatrix& modelViewProjection, const float* a,
                     const float* b, const float* c);
