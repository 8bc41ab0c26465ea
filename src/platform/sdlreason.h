// SDL's own words for why a call failed, in the form that follows a message's written text. SDL
// keeps its last error until another replaces it, so a caller clears it (SDL_ClearError) before
// a call whose failure it reports and reads it right after. Main thread only.
#pragma once

#include <string>

// ": " and SDL's error, or nothing when SDL gave none.
std::string sdlReason();
