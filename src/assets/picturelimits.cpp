#include "assets/picturelimits.h"

#include "fixedgl/gl.h"
#include "platform/glcontext.h"

namespace {

constexpr int kSideCap = 16384;

}  // namespace

int maxPictureSide() {
    if (!isGLContextCurrent()) return kSideCap;
    GLint side = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &side);
    if (side <= 0 || side > kSideCap) return kSideCap;
    return side;
}

bool pictureSizeAllowed(int64_t width, int64_t height) {
    int64_t side = maxPictureSide();
    if (width <= 0 || height <= 0 || width > side || height > side) return false;
    return width * height <= kMaxPicturePixels;
}
