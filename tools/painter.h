// Picture-making steps shared by the generated pictures: glowing text, shadows, soft lights,
// stars, signed-distance shapes and sphere-map environments. Everything draws into a CCanvas
// or CMask given by the caller; nothing is kept between calls.
#pragma once

#include <functional>

#include "canvas.h"
#include "mask.h"

namespace paint {

using Gradient = std::function<SColor(float u, float v)>;

// Coverage of a shape at signed distance d (pixels, negative inside), anti-aliased over a pixel.
float coverage(float d);
// A vertical gradient through three colours, v = 0 at `top` and 1 at `bottom` (pixels).
Gradient vertical(SColor a, SColor b, SColor c, float top, float bottom, int height);

// The mask's blurred halo in `glow`, then the mask itself painted with `fill`.
// With wrap the halo wraps round the edges, for tiling pictures.
void glowingShape(CCanvas& canvas, const CMask& mask, const Gradient& fill, SColor glow,
                  float sigma, float strength, bool wrap = false);
// A shape given by its signed distance function (pixels, negative inside), in `core` with a
// halo in `glow`.
void glowDistance(CCanvas& canvas, const std::function<float(float x, float y)>& distance,
                  SColor core, SColor glow, float sigma);
// Darkens under the mask moved by (dx, dy) and softened by sigma: a drop shadow.
void shadow(CCanvas& canvas, const CMask& mask, int dx, int dy, float sigma, float strength);
// exp(-(r / radius)^2) light around (cx, cy), in pixels.
void softLight(CCanvas& canvas, float cx, float cy, float radius, SColor colour);
// Scattered small stars, repeatable from the seed; avoid(u, v) > 0 dims them there.
void stars(CCanvas& canvas, int count, unsigned seed, float brightness);
// Darkens towards the corners so the picture's edges fade into black.
void vignette(CCanvas& canvas, float inner, float outer);
// Fills the canvas as a sphere map: the colour seen in a mirror ball for each reflected
// direction (x right, y up, z towards the viewer) given by env.
void sphereMap(CCanvas& canvas, const std::function<SColor(float x, float y, float z)>& env);

// Distance helpers in pixels: negative inside.
float circle(float x, float y, float cx, float cy, float r);
float box(float x, float y, float cx, float cy, float hw, float hh);
float segment(float x, float y, float ax, float ay, float bx, float by);
// Regular polygon with `sides` corners, circumradius r, first corner at angle `turn` (radians).
float polygon(float x, float y, float cx, float cy, float r, int sides, float turn);

}  // namespace paint
