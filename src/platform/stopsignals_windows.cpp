#include "platform/stopsignals.h"

#include <csignal>
#include <cstring>

namespace {

using Handler = void (*)(int);

}  // namespace

void CStopSignals::take(int signal, void (*handler)(int), Handling& previous) {
    static_assert(sizeof(Handler) <= sizeof previous.bytes, "a handler must fit");
    Handler found = std::signal(signal, handler);
    std::memcpy(previous.bytes, &found, sizeof found);
}

void CStopSignals::putBack(int signal, const Handling& previous) {
    Handler found = SIG_ERR;
    std::memcpy(&found, previous.bytes, sizeof found);
    if (found != SIG_ERR) std::signal(signal, found);
}
