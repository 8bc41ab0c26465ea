#include "platform/messagebox.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/stopsignals.h"
#include "platform/systembox.h"

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

void show(MessageBoxStyle style, const char* text, const char* caption, SDL_Window* owner) {
    if (text == nullptr) text = "";
    if (caption == nullptr) caption = "";
    if (boxObserver) boxObserver(MessageBoxRecord{style, caption, text});
    if (!forcedHeadless && !driverIsHeadless()) {
        CStopSignals stoppable(CStopSignals::Mode::DefaultAction);
        if (showSystemBox(style == MessageBoxStyle::Error, text, caption, owner)) return;
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
