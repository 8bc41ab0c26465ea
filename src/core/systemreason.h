// Why something failed, in the words of the system or of a library, in the form that follows a
// message's written text. Knows nothing of what failed or of the message; any thread.
#pragma once

#include <string>

// ": " and `words`, or nothing when there are none.
std::string reasonFrom(const std::string& words);

// ": " and the description of `error` (an errno value), or nothing when `error` is 0.
std::string systemReason(int error);
