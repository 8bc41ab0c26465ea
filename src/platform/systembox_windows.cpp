#include "platform/systembox.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <windows.h>

#include <filesystem>
#include <string>

// SDL draws a dialog of its own making here. Topmost, so that a full-screen window does not
// cover it.
bool showSystemBox(bool error, const char* text, const char* caption, SDL_Window* owner) {
    HWND parent = nullptr;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (owner != nullptr && SDL_GetWindowWMInfo(owner, &info)) parent = info.info.win.window;
    UINT flags = MB_OK | MB_TOPMOST | MB_SETFOREGROUND | (error ? MB_ICONERROR : 0);
    std::wstring wideText = std::filesystem::u8path(text).wstring();
    std::wstring wideCaption = std::filesystem::u8path(caption).wstring();
    return MessageBoxW(parent, wideText.c_str(), wideCaption.c_str(), flags) != 0;
}
