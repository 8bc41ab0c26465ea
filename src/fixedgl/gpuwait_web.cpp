#include "fixedgl/gpuwait.h"

#include <GLES3/gl3.h>

// WebGL's finish returns before the drawing is done; reading a pixel back cannot.
void waitForGPU() {
    GLubyte pixel[4];
    glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
}
