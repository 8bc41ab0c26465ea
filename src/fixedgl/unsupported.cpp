#include "fixedgl/unsupported.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct SReported {
    const char* call;
    unsigned int value;
};

SReported reported[64];
int reportedCount = 0;

bool alreadyReported(const char* call, unsigned int value) {
    for (int i = 0; i < reportedCount; ++i)
        if (reported[i].value == value && std::strcmp(reported[i].call, call) == 0) return true;
    if (reportedCount < 64) reported[reportedCount++] = {call, value};
    return false;
}

}  // namespace

void reportUnsupported(const char* call, unsigned int value) {
    if (!alreadyReported(call, value))
        std::fprintf(stderr, "vexmoro: %s(0x%04X) is not given by the gles3 renderer\n", call,
                     value);
#ifndef NDEBUG
    std::abort();
#endif
}
