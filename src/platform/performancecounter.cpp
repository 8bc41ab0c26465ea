#include "platform/performancecounter.h"

#include <SDL_timer.h>

int64_t CPerformanceCounter::counter() {
    return static_cast<int64_t>(SDL_GetPerformanceCounter());
}

int64_t CPerformanceCounter::frequency() {
    return static_cast<int64_t>(SDL_GetPerformanceFrequency());
}
