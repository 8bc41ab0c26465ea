#include "fixedgl/session.h"

// The system's GL keeps its own state and draws each call as it comes.
void fixedglStart() {}

void fixedglFlush() {}

void fixedglStop() {}

const char* fixedglRenderer() {
    return "gl1";
}
