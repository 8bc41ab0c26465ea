// The browser as the host: no programs to start, no terminal, and the page's memory is the
// WebAssembly heap, which only grows.
#include <emscripten/heap.h>

#include "platform/host.h"

void connectStandardStreams() {}

std::string programFileName(const std::string& name) {
    return name;
}

std::string findProgramOnPath(const std::string&) {
    return "";
}

bool isTerminal(std::FILE*) {
    return false;
}

long peakResidentKiB() {
    return static_cast<long>(emscripten_get_heap_size() / 1024);
}

// The canvas is the only window there is; offline runs draw in it as the live show does.
void prepareUnseenVideo() {}

bool windowsStayHidden() {
    return false;
}
