// Entry point: reads the options, seeds the random sequence, and takes the demo through its
// fixed lifecycle with the data folder as the working directory.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "app/commandline.h"
#include "core/random.h"
#include "offline/offlinerun.h"
#include "platform/host.h"
#include "platform/messagebox.h"
#include "platform/performancecounter.h"
#include "platform/programfolder.h"
#include "show/dataroot.h"
#include "show/demo.h"

namespace fs = std::filesystem;

namespace {

// Paths the user typed are relative to where they typed them, not to the data folder.
void makeUserPathsAbsolute(COptions& options) {
    std::error_code error;
    if (!options.barsFile.empty())
        options.barsFile = fs::absolute(options.barsFile, error).string();
    if (!options.capture.empty()) options.capture = fs::absolute(options.capture, error).string();
}

// The show reads "data/..." relative to the folder that holds data/.
bool enterRoot(const COptions& options, const char* argv0) {
    fs::path root;
    std::string missing;
    if (!CDataRoot(programFolder(argv0), VEXMORO_INSTALLED_ROOT)
             .find(options.root, root, missing)) {
        showError(missing.c_str(), "vexmoro");
        return false;
    }
    std::error_code error;
    fs::current_path(root, error);
    if (error) {
        std::fprintf(stderr, "vexmoro: cannot use %s as the data root: %s\n", root.string().c_str(),
                     error.message().c_str());
        return false;
    }
    return true;
}

// Capture and benchmark: the same lifecycle on a stepping clock, with no visible window (unless
// the user picked a video driver) and every box on standard error.
int runOffline(const COptions& options) {
    prepareUnseenVideo();
    COfflineRun offline(options);
    std::string error;
    if (!offline.prepare(error)) {
        std::fprintf(stderr, "vexmoro: %s\n", error.c_str());
        return 1;
    }
    seedRandom(1337);
    CDemo demo(options, &offline.ticks());
    if (!demo.windowOpened) {
        std::fprintf(stderr, "vexmoro: no offscreen GL context could be made%s\n",
                     demo.window->failureReason().c_str());
        return 1;
    }
    offline.attach(demo);
    auto loadStart = std::chrono::steady_clock::now();
    demo.load();
    offline.beginRendering(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - loadStart).count());
    demo.run();
    demo.shutdown();
    return offline.finish(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    connectStandardStreams();
    COptions options;
    std::string error;
    if (!CCommandLine(options).parse(argc, argv, error)) {
        std::fprintf(stderr, "vexmoro: %s\n%s", error.c_str(), CCommandLine::usage());
        return 2;
    }
    if (options.help || options.version) {
        std::fputs(options.help ? CCommandLine::usage() : "vexmoro " VEXMORO_VERSION "\n", stdout);
        return 0;
    }
    makeUserPathsAbsolute(options);
    setMessageBoxesHeadless(options.offline());
    if (!enterRoot(options, argv[0])) return 1;
    if (options.offline()) return runOffline(options);

    seedRandom(1337);
    CPerformanceCounter counter;
    CDemo demo(options, &counter);
    if (!demo.windowOpened) {
        std::fprintf(stderr, "vexmoro: the window or its GL context could not be opened%s\n",
                     demo.window->failureReason().c_str());
        return 1;
    }
    demo.load();
    demo.run();
    demo.shutdown();
    return 0;
}
