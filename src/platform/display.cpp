#include "platform/display.h"

#include <SDL.h>

#include <algorithm>

namespace {

// Beyond what GL implementations allow for a framebuffer anyway.
const int kFallbackLimit = 16384;

void growTo(const SDL_DisplayMode& mode, int& width, int& height) {
    width = std::max(width, mode.w);
    height = std::max(height, mode.h);
}

}  // namespace

void largestDisplaySize(int& width, int& height) {
    width = height = kFallbackLimit;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return;
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) == 0) {
        width = height = 0;
        growTo(mode, width, height);
        for (int i = 0; i < SDL_GetNumDisplayModes(0); ++i)
            if (SDL_GetDisplayMode(0, i, &mode) == 0) growTo(mode, width, height);
        width = std::min(width, kFallbackLimit);
        height = std::min(height, kFallbackLimit);
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}
