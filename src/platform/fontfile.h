// Finds the typeface a name asks for, as the system's own programs find it: fontconfig's best
// match on Linux; on Windows the GDI font mapper's, which hands out the font's bytes rather than
// a file. Bold is asked for, as CFont draws bold. One implementation per system
// (fontfile_fontconfig.cpp, fontfile_windows.cpp); no state.
#pragma once

#include <string>
#include <vector>

struct SFontFile {
    std::string path;                  // the font file, where the system names one
    std::vector<unsigned char> bytes;  // the whole font, where the system hands it out instead
    int index = 0;                     // the face within a collection
};

// `pixels`: the height asked for, which may steer the choice among sizes. False when the system
// offers no face at all.
bool findFontFile(const char* faceName, int pixels, SFontFile& found);
