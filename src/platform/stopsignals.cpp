#include "platform/stopsignals.h"

#include <csignal>

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
