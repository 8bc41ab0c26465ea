// Puts one message box on the screen and waits for its button: the system's own box on Windows,
// as the old program showed it, SDL's elsewhere. Knows nothing of headless runs or signals (the
// message boxes decide those). One implementation per system (systembox_posix.cpp,
// systembox_windows.cpp). Main thread only.
#pragma once

struct SDL_Window;

// With the error icon where `error`; owned by `owner` when one is given. False where no box
// could be shown.
bool showSystemBox(bool error, const char* text, const char* caption, SDL_Window* owner);
