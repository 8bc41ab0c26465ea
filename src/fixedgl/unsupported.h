// What the gles3 renderer does with a call or value it does not give: says so on standard error,
// once for each call and value, and in a debug build stops the program there, so that a missing
// piece is found rather than drawn wrong. Main thread only.
#pragma once

void reportUnsupported(const char* call, unsigned int value);
