// vexmoro-datagen: makes the show's data folder (pictures, meshes, music) from nothing, a
// contact sheet of the pictures to look at, and the program's icons.
#include <cstdio>
#include <cstring>
#include <string>

#include "dataset.h"
#include "iconpictures.h"
#include "pictureset.h"

namespace {

const char* const kUsage =
    "usage: vexmoro-datagen [options] [DIR]\n"
    "  DIR                   write DIR/textures, DIR/objects and DIR/music\n"
    "  --only PART           only pictures, meshes or music\n"
    "  --contact-sheet FILE  a PNG of all pictures with their names\n"
    "  --icons DIR           the program's icon as DIR/<N>x<N>/apps/vexmoro.png\n";

bool selectPart(const std::string& name, SDataParts& parts) {
    parts = {name == "pictures", name == "meshes", name == "music"};
    return parts.pictures || parts.meshes || parts.music;
}

}  // namespace

int main(int argc, char** argv) {
    std::string dir, sheet, icons;
    SDataParts parts;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--contact-sheet" && hasValue) {
            sheet = argv[++i];
        } else if (arg == "--icons" && hasValue) {
            icons = argv[++i];
        } else if (arg == "--only" && hasValue && selectPart(argv[i + 1], parts)) {
            ++i;
        } else if (arg.empty() || arg[0] == '-' || !dir.empty()) {
            std::fprintf(stderr, "%s", kUsage);
            return 2;
        } else {
            dir = arg;
        }
    }
    if (dir.empty() && sheet.empty() && icons.empty()) {
        std::fprintf(stderr, "%s", kUsage);
        return 2;
    }
    std::string error;
    const bool ok = (dir.empty() || generateDataSet(dir, parts, error)) &&
                    (sheet.empty() || writeContactSheet(sheet, error)) &&
                    (icons.empty() || iconpictures::writeAll(icons, error));
    if (!ok) std::fprintf(stderr, "vexmoro-datagen: %s\n", error.c_str());
    return ok ? 0 : 1;
}
