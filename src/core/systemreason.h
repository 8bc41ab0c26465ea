// The system's own words for why a file could not be used, to follow a message's written text.
// Knows nothing of the file or the message; any thread.
#pragma once

#include <string>

// ": " and the description of `error` (an errno value), or nothing when `error` is 0.
std::string systemReason(int error);
