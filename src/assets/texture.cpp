#include "assets/texture.h"

#include <string>
#include <vector>

#include "assets/jpeg.h"
#include "assets/pngbind.h"
#include "platform/glcontext.h"
#include "platform/messagebox.h"

namespace {

// Rows are packed, so any width uploads correctly; the caller's unpack alignment is kept.
void uploadRGB(int width, int height, const unsigned char* pixels) {
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, 3, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
}

}  // namespace

CTexture::CTexture() : id(0) {}

CTexture::~CTexture() {
    release();
}

// Without a context (the scenes die after the window) the name went with the context.
void CTexture::release() {
    if (id != 0 && isGLContextCurrent()) glDeleteTextures(1, &id);
    id = 0;
}

// Whatever the file name says, the file is decoded as JPEG.
bool CTexture::load(const char* path) {
    release();
    Cjpeg jpeg;
    if (!jpeg.loadImage(path)) return false;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    uploadRGB(jpeg.width, jpeg.height, jpeg.data.get());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    return true;
}

bool CTexture::loadPNG(const char* path) {
    release();
    pngInfo info = {};
    id = pngBind(path, PNG_NOMIPMAPS, PNG_ALPHA, &info, GL_REPEAT, GL_NEAREST, GL_NEAREST);
    if (id == 0) {
        std::string text =
            std::string("Unable to load PNG-texture ") + path + ": " + pngBindProblem();
        showError(text.c_str(), "CTexture::loadPNG");
        return false;
    }
    return true;
}

// A black square that the scenes later fill from the frame buffer; wrap modes stay GL's default.
bool CTexture::createEmpty(int size) {
    release();
    std::vector<unsigned char> black(size > 0 ? static_cast<size_t>(size) * size * 3 : 0);
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    uploadRGB(size, size, black.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    return true;
}

void CTexture::bind() {
    glBindTexture(GL_TEXTURE_2D, id);
}
