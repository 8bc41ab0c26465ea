// vexmoro-datagen: makes the show's data folder (pictures, meshes, music) from nothing, and
// offers looks at it: a contact sheet of the pictures and the music's spectral figures.
#include <cstdio>
#include <cstring>
#include <string>

#include "dataset.h"
#include "musicfigures.h"
#include "pictureset.h"

namespace {

const char* const kUsage =
    "usage: vexmoro-datagen [options] [DIR]\n"
    "  DIR                   write DIR/textures, DIR/objects and DIR/music\n"
    "  --only PART           only pictures, meshes or music\n"
    "  --contact-sheet FILE  a PNG of all pictures with their names\n"
    "  --analyse FILE        print the spectral figures of a music file; fails if a target is "
    "missed\n";

int analyse(const std::string& path) {
    CSpectrumProbe probe;
    if (!probe.open(path)) {
        std::fprintf(stderr, "cannot decode %s\n", path.c_str());
        return 1;
    }
    const SMusicFigures figures = measureMusic(probe);
    std::printf("%s", describe(figures).c_str());
    const std::string missed = missedTargets(figures);
    std::printf("%s", missed.empty() ? "all targets met\n" : missed.c_str());
    return missed.empty() ? 0 : 1;
}

bool selectPart(const std::string& name, SDataParts& parts) {
    parts = {name == "pictures", name == "meshes", name == "music"};
    return parts.pictures || parts.meshes || parts.music;
}

}  // namespace

int main(int argc, char** argv) {
    std::string dir, sheet, analysePath;
    SDataParts parts;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--contact-sheet" && hasValue) {
            sheet = argv[++i];
        } else if (arg == "--analyse" && hasValue) {
            analysePath = argv[++i];
        } else if (arg == "--only" && hasValue && selectPart(argv[i + 1], parts)) {
            ++i;
        } else if (arg.empty() || arg[0] == '-' || !dir.empty()) {
            std::fprintf(stderr, "%s", kUsage);
            return 2;
        } else {
            dir = arg;
        }
    }
    if (dir.empty() && sheet.empty() && analysePath.empty()) {
        std::fprintf(stderr, "%s", kUsage);
        return 2;
    }
    std::string error;
    if (!dir.empty() && !generateDataSet(dir, parts, error)) {
        std::fprintf(stderr, "vexmoro-datagen: %s\n", error.c_str());
        return 1;
    }
    if (!sheet.empty() && !writeContactSheet(sheet, error)) {
        std::fprintf(stderr, "vexmoro-datagen: %s\n", error.c_str());
        return 1;
    }
    return analysePath.empty() ? 0 : analyse(analysePath);
}
