#include <SDL.h>

#include "platform/glprofile.h"

void requestContextProfile() {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
}
