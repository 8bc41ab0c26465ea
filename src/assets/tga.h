// Reads an uncompressed true-colour TGA picture (24 or 32 bits) into RGB or RGBA bytes, bottom row
// first whatever corner the file starts from, with the GL format that fits them. Makes no texture;
// needs no GL context. Anything else (compressed, colour-mapped, short or oversize files) is
// refused with a message.
#pragma once

#include <memory>
#include <string>

#include "fixedgl/gl.h"

class CTGA {
public:
    CTGA();
    CTGA(const CTGA&) = delete;
    CTGA& operator=(const CTGA&) = delete;

    bool loadImage(const char* path);

    std::unique_ptr<unsigned char[]> data;
    int bitsPerPixel;
    int width;
    int height;
    GLenum format;
    std::string fileName;
};
