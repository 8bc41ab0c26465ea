// Makes a GL texture from a PNG file in one call: generates and binds a name, sets wrap and
// filters, uploads level 0 with the bottom row at t = 0. Refuses oversize pictures or chunks and
// files whose pixels cannot be read (result 0); the library's warnings pass. Needs a current GL
// context.
#pragma once

#include "fixedgl/gl.h"

// Mipmap modes: only level 0 is made.
constexpr int PNG_NOMIPMAPS = 0;

// Transparency modes: keep the file's alpha channel where it has one, or drop it.
constexpr int PNG_ALPHA = -2;
constexpr int PNG_SOLID = -1;

// What was loaded: size in pixels, the file's bits per sample, and the bits of alpha uploaded.
struct pngInfo {
    unsigned int width;
    unsigned int height;
    unsigned int depth;
    unsigned int alpha;
};

// The texture name, or 0 when the file cannot be read or the mode is not offered.
GLuint pngBind(const char* filename, int mipmap, int trans, pngInfo* info, int wrapst,
               int minfilter, int magfilter);

// Why the last pngBind on this thread gave no texture (the PNG library's own words where it
// refused the file); empty after one that gave a texture.
const char* pngBindProblem();
