// A libFuzzer target for one loader drill, named by VEXMORO_FUZZ_DRILL at build time: each input
// is written to a file of this process's own and run through the drill, on an offscreen GL
// context. A verdict that is not consistent aborts like a crash, so the fuzzer keeps it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz/loaderdrills.h"
#include "platform/glwindow.h"
#include "support/scratchdir.h"

namespace {

const std::string& inputPath() {
    static const std::string path = scratchPath("fuzz-input");
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    setenv("MESA_SHADER_CACHE_DISABLE", "true", 0);
    // Lives for the whole run; a small window keeps the drawing cheap.
    static CGLWindow* window = new CGLWindow();
    if (!window->initWindow(64, 64, false) || !window->setGLDefaults()) {
        std::fprintf(stderr, "fuzz target: no GL context on the offscreen driver\n");
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::FILE* file = std::fopen(inputPath().c_str(), "wb");
    if (file == nullptr || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) {
        std::perror(inputPath().c_str());
        std::abort();
    }
    DrillVerdict verdict = VEXMORO_FUZZ_DRILL(inputPath());
    if (!verdict.consistent) {
        std::fprintf(stderr, "inconsistent answer (accepted %d):\n%s", verdict.accepted,
                     verdict.reasons.c_str());
        std::abort();
    }
    return 0;
}
