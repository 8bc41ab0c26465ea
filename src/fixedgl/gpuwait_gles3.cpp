#include "fixedgl/gpuwait.h"

#include <GLES3/gl3.h>

void waitForGPU() {
    glFinish();
}
