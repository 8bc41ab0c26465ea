#include "platform/glcontext.h"

#include <SDL_video.h>

bool isGLContextCurrent() {
    return SDL_GL_GetCurrentContext() != nullptr;
}
