#include "assets/texture.h"

#include "platform/glcontext.h"

CTexture::CTexture() : id(0) {}

// Without a context (the scenes die after the window) the name went with the context.
CTexture::~CTexture() {
    if (id != 0 && isGLContextCurrent()) glDeleteTextures(1, &id);
    id = 0;
}

void CTexture::bind() {
    glBindTexture(GL_TEXTURE_2D, id);
}
