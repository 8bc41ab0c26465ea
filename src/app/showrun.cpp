#include "app/showrun.h"

#include <chrono>
#include <cstdio>

#include "core/random.h"
#include "platform/host.h"

CShowRun::CShowRun(const COptions& runOptions) : options(runOptions) {}

CShowRun::~CShowRun() = default;

bool CShowRun::start(std::string& error) {
    if (options.offline()) return startOffline(error);
    seedRandom(1337);
    counter = std::make_unique<CPerformanceCounter>();
    show = std::make_unique<CDemo>(options, counter.get());
    if (!show->windowOpened) {
        error = "the window or its GL context could not be opened" + show->window->failureReason();
        return false;
    }
    show->load();
    return true;
}

// Capture and benchmark: the same lifecycle on a stepping clock, with no visible window (unless
// the user picked a video driver).
bool CShowRun::startOffline(std::string& error) {
    prepareUnseenVideo();
    offline = std::make_unique<COfflineRun>(options);
    if (!offline->prepare(error)) return false;
    seedRandom(1337);
    show = std::make_unique<CDemo>(options, &offline->ticks());
    if (!show->windowOpened) {
        error = "no offscreen GL context could be made" + show->window->failureReason();
        return false;
    }
    offline->attach(*show);
    auto loadStart = std::chrono::steady_clock::now();
    show->load();
    offline->beginRendering(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - loadStart).count());
    return true;
}

int CShowRun::finish() {
    show->shutdown();
    return offline ? offline->finish(stdout) : 0;
}
