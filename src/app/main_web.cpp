// Entry point in the browser: the page calls main (callMain) when the viewer clicks play, with
// the options its address gave, and may call it again for another run once one has ended. main
// sets the run up and returns; the browser's main loop then draws one frame per call, and when
// the show is done the page is told (Module.vexmoroEnded with the exit status). The data set
// lies under /data in the page's file system.
#include <emscripten.h>

#include <cstdio>
#include <memory>
#include <string>

#include "app/commandline.h"
#include "app/showrun.h"
#include "platform/messagebox.h"

namespace {

std::unique_ptr<CShowRun> current;

void tellPageEnded(int status) {
    EM_ASM(
        {
            if (Module.vexmoroEnded) Module.vexmoroEnded($0);
        },
        status);
}

// A run that cannot start is reported as the desktop program reports it, on the page as well.
int refuse(const std::string& error, int status) {
    std::fprintf(stderr, "vexmoro: %s\n", error.c_str());
    showError(error.c_str(), "vexmoro");
    tellPageEnded(status);
    return status;
}

// Each frame is drawn and shown as on the desktop; the page learns the show's time, which is the
// picture's clock against the music's.
void drawFrame() {
    CDemo& demo = current->demo();
    demo.runFrame();
    EM_ASM(
        {
            if (Module.vexmoroFrame) Module.vexmoroFrame($0);
        },
        demo.time);
    if (!demo.done) return;
    emscripten_cancel_main_loop();
    int status = current->finish();
    current.reset();
    tellPageEnded(status);
}

}  // namespace

int main(int argc, char** argv) {
    if (current != nullptr) return refuse("the show is already playing", 1);
    COptions options;
    std::string error;
    if (!CCommandLine(options).parse(argc, argv, error)) return refuse(error, 2);
    if (options.help || options.version) {
        std::fputs(options.help ? CCommandLine::usage() : "vexmoro " VEXMORO_VERSION "\n", stdout);
        tellPageEnded(0);
        return 0;
    }
    current = std::make_unique<CShowRun>(options);
    if (!current->start(error)) {
        current.reset();
        return refuse(error, 1);
    }
    current->demo().beginRun();
    // The show at the display's pace (requestAnimationFrame); capture and benchmark frames one
    // after the other, as fast as the browser lets the page run. main returns now.
    emscripten_set_main_loop(drawFrame, 0, 0);
    if (options.offline()) emscripten_set_main_loop_timing(EM_TIMING_SETIMMEDIATE, 0);
    return 0;
}
