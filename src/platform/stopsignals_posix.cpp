#include "platform/stopsignals.h"

#include <csignal>
#include <cstring>

// No SA_RESTART: a Ctrl-C interrupts a wait, and the callers retry after EINTR themselves.
void CStopSignals::take(int signal, void (*handler)(int), Handling& previous) {
    static_assert(sizeof(struct sigaction) <= sizeof previous.bytes, "a sigaction must fit");
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    struct sigaction found {};
    sigaction(signal, &action, &found);
    std::memcpy(previous.bytes, &found, sizeof found);
}

void CStopSignals::putBack(int signal, const Handling& previous) {
    struct sigaction found {};
    std::memcpy(&found, previous.bytes, sizeof found);
    sigaction(signal, &found, nullptr);
}
