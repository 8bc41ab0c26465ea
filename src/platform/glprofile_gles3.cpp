#include <SDL.h>

#include "platform/glprofile.h"

// Made through EGL on X11 too, as on every other driver. (SDL still opens the desktop GL library
// once on X11, to ask GLX, before it turns to EGL; the program's calls are linked to the ES
// library alone.)
void requestContextProfile() {
    SDL_SetHint(SDL_HINT_VIDEO_X11_FORCE_EGL, "1");
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
}
