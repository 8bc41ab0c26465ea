// Owns one OpenGL 2D texture name made from a picture file or as an empty render target.
// No caching or sharing: each owner loads its own. Loading and bind need the GL context current;
// the destructor releases the name only while a context is current.
#pragma once

#include "fixedgl/gl.h"

class CTexture {
public:
    CTexture();
    ~CTexture();
    CTexture(const CTexture&) = delete;
    CTexture& operator=(const CTexture&) = delete;

    // Each of these first releases the texture the object held.
    bool load(const char* path);
    bool loadPNG(const char* path);
    bool createEmpty(int size);
    void bind();

    GLuint id;  // 0 while the object holds no texture

private:
    void release();
};
