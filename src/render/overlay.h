// Screen-space drawing in window pixels (beginOrtho/endOrtho around textured quads) and
// camera-facing billboards in the 3D scene. Colour and blending are the caller's except where a
// function says otherwise. Needs a current GL context with the modelview matrix current.
#pragma once

#include "fixedgl/gl.h"

// Pixel coordinates from the viewport's lower-left corner; turns off depth test, lighting and
// texture generation. Uses one level of the projection and of the modelview stack.
void beginOrtho(int width, int height);
// Restores both matrices and turns lighting and depth test on, whatever they were before;
// texture generation stays off.
void endOrtho();

// Shows a texture with its bottom row (t = 0) at the bottom: upright for the show's textures.
void drawTexturedQuad(int x, int y, int width, int height, GLuint texture);
// The same rectangle mirrored top to bottom, alpha-blended in white; leaves blending off.
void drawBlendedQuad(int x, int y, int width, int height, GLuint texture);

// A square of edge 2 * size centred on (x, y, z) facing the viewer, mirrored like
// drawBlendedQuad; leaves lighting on.
void drawBillboard(float x, float y, float z, float size, GLuint texture);
