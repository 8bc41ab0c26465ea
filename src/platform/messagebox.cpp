#include "platform/messagebox.h"

#include <SDL.h>
#ifdef _WIN32
#include <SDL_syswm.h>
#include <windows.h>

#include <filesystem>
#endif

#ifdef __linux__
#include <pthread.h>
#include <sys/prctl.h>
#include <unistd.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/stopsignals.h"

namespace {

bool forcedHeadless = false;
std::function<void(const MessageBoxRecord&)> boxObserver;

// Drivers that have no screen to put a box on; a box there could never be answered.
bool driverIsHeadless() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr) driver = std::getenv("SDL_VIDEODRIVER");
    if (driver == nullptr) return false;
    return std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0;
}

#ifdef _WIN32
// The system's own box, as the old program showed it (SDL draws a dialog of its making there).
// Topmost, so that a full-screen window does not cover it.
bool showBox(MessageBoxStyle style, const char* text, const char* caption, SDL_Window* owner) {
    HWND parent = nullptr;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (owner != nullptr && SDL_GetWindowWMInfo(owner, &info)) parent = info.info.win.window;
    UINT flags = MB_OK | MB_TOPMOST | MB_SETFOREGROUND |
                 (style == MessageBoxStyle::Error ? MB_ICONERROR : 0);
    std::wstring wideText = std::filesystem::u8path(text).wstring();
    std::wstring wideCaption = std::filesystem::u8path(caption).wstring();
    return MessageBoxW(parent, wideText.c_str(), wideCaption.c_str(), flags) != 0;
}
#else
bool showBox(MessageBoxStyle style, const char* text, const char* caption, SDL_Window* owner) {
    Uint32 flags = style == MessageBoxStyle::Error ? SDL_MESSAGEBOX_ERROR : 0;
    return SDL_ShowSimpleMessageBox(flags, caption, text, owner) == 0;
}
#endif

#ifdef __linux__
// SDL puts the box up from a forked child process. Should the program end while the box waits,
// that child must end too rather than leave a box behind that belongs to nothing.
volatile pid_t boxParent = 0;

void endWithBoxParent() {
    if (boxParent == 0) return;
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != boxParent) _exit(1);  // the parent ended before the line above
}

class BoxChildren {
public:
    BoxChildren() {
        static const bool registered = pthread_atfork(nullptr, nullptr, endWithBoxParent) == 0;
        if (registered) boxParent = getpid();
    }
    ~BoxChildren() { boxParent = 0; }
};
#else
class BoxChildren {};
#endif

void show(MessageBoxStyle style, const char* text, const char* caption, SDL_Window* owner) {
    if (text == nullptr) text = "";
    if (caption == nullptr) caption = "";
    if (boxObserver) boxObserver(MessageBoxRecord{style, caption, text});
    if (!forcedHeadless && !driverIsHeadless()) {
        CStopSignals stoppable(CStopSignals::Mode::DefaultAction);
        [[maybe_unused]] BoxChildren boxChildren;
        if (showBox(style, text, caption, owner)) return;
    }
    std::fprintf(stderr, "%s: %s\n", caption, text);
}

}  // namespace

void showError(const char* text, const char* caption) {
    show(MessageBoxStyle::Error, text, caption, nullptr);
}

void showMessage(const char* text, const char* caption, SDL_Window* owner) {
    show(MessageBoxStyle::Plain, text, caption, owner);
}

void setMessageBoxesHeadless(bool headless) {
    forcedHeadless = headless;
}

void setMessageBoxObserver(std::function<void(const MessageBoxRecord&)> observer) {
    boxObserver = std::move(observer);
}
