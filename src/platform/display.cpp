#include "platform/display.h"

#include <SDL.h>

#include <algorithm>

void largestWindowSize(int& width, int& height) {
    width = height = kLargestPictureSide;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return;
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) == 0) {
        width = std::min(mode.w, kLargestPictureSide);
        height = std::min(mode.h, kLargestPictureSide);
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}
