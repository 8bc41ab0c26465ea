// Entry point: reads the options, finds the data folder and makes it the working directory, and
// plays the show (or captures or times it) from start to finish.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "app/commandline.h"
#include "app/showrun.h"
#include "platform/host.h"
#include "platform/messagebox.h"
#include "platform/programfolder.h"
#include "show/dataroot.h"

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
    CShowRun run(options);
    if (!run.start(error)) {
        std::fprintf(stderr, "vexmoro: %s\n", error.c_str());
        return 1;
    }
    run.demo().run();
    return run.finish();
}
