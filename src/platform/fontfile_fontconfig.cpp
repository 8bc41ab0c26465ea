#include <fontconfig/fontconfig.h>

#include "platform/fontfile.h"

// The best match for the name, bold; any installed face when none has that name.
bool findFontFile(const char* faceName, int pixels, SFontFile& found) {
    FcPattern* pattern = FcPatternCreate();
    if (pattern == nullptr) return false;
    if (faceName != nullptr && faceName[0] != '\0')
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(faceName));
    FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_BOLD);
    FcPatternAddBool(pattern, FC_ANTIALIAS, FcTrue);
    FcPatternAddDouble(pattern, FC_PIXEL_SIZE, pixels);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr) return false;
    FcChar8* path = nullptr;
    bool ok = FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch;
    if (ok) found.path = reinterpret_cast<const char*>(path);
    if (FcPatternGetInteger(match, FC_INDEX, 0, &found.index) != FcResultMatch) found.index = 0;
    FcPatternDestroy(match);
    return ok;
}
