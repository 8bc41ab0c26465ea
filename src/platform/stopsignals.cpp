#include "platform/stopsignals.h"

namespace {

volatile std::sig_atomic_t interruptSeen = 0;

void onInterrupt(int) {
    interruptSeen = 1;
}

}  // namespace

CStopSignals::CStopSignals(Mode chosen) : mode(chosen), previousInterrupt{}, previousTerminate{} {
    if (mode == Mode::CatchInterrupt) {
        take(SIGINT, onInterrupt, previousInterrupt);
        return;
    }
    take(SIGINT, SIG_DFL, previousInterrupt);
    take(SIGTERM, SIG_DFL, previousTerminate);
}

CStopSignals::~CStopSignals() {
    putBack(SIGINT, previousInterrupt);
    if (mode == Mode::DefaultAction) putBack(SIGTERM, previousTerminate);
}

bool CStopSignals::interrupted() {
    return interruptSeen != 0;
}

#ifdef _WIN32
void CStopSignals::take(int signal, void (*handler)(int), Handling& previous) {
    previous = std::signal(signal, handler);
}

void CStopSignals::putBack(int signal, const Handling& previous) {
    if (previous != SIG_ERR) std::signal(signal, previous);
}
#else
// No SA_RESTART: a Ctrl-C interrupts a wait, and the callers retry after EINTR themselves.
void CStopSignals::take(int signal, void (*handler)(int), Handling& previous) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, &previous);
}

void CStopSignals::putBack(int signal, const Handling& previous) {
    sigaction(signal, &previous, nullptr);
}
#endif
