#include "platform/messagebox.h"

#include <SDL.h>

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
        Uint32 flags = style == MessageBoxStyle::Error ? SDL_MESSAGEBOX_ERROR : 0;
        CStopSignals stoppable(CStopSignals::Mode::DefaultAction);
        [[maybe_unused]] BoxChildren boxChildren;
        if (SDL_ShowSimpleMessageBox(flags, caption, text, owner) == 0) return;
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
