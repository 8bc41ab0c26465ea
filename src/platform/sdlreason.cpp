#include "platform/sdlreason.h"

#include <SDL_error.h>

#include "core/systemreason.h"

std::string sdlReason() {
    return reasonFrom(SDL_GetError());
}
