// Test support: waiting for what another thread or process does, without guessing how long it
// takes. Polls often and gives up only after a deadline far beyond any normal run, so that a
// loaded machine is slower but never fails a test by it.
#pragma once

#include <functional>

// Asks `ready` (at once, then every 10 ms) until it gives true, or gives up after `seconds`;
// says whether it did.
bool waitUntil(const std::function<bool()>& ready, double seconds = 120);
