#include <windows.h>

#include "platform/fontfile.h"

namespace {

// GetFontData's table tag for a whole TrueType collection, 'ttcf' as stored in the file.
const DWORD kCollectionTag = 0x66637474;

// The whole font file: the collection it belongs to where it is one (GDI does not say which
// face of it was chosen, so the first is taken), else the single font.
bool copyFontData(HDC dc, std::vector<unsigned char>& bytes) {
    DWORD table = kCollectionTag;
    DWORD size = GetFontData(dc, table, 0, nullptr, 0);
    if (size == GDI_ERROR || size == 0) {
        table = 0;
        size = GetFontData(dc, table, 0, nullptr, 0);
    }
    if (size == GDI_ERROR || size == 0) return false;
    bytes.resize(size);
    return GetFontData(dc, table, 0, bytes.data(), size) == size;
}

}  // namespace

// The font mapper takes the arguments the old program gave CreateFontA, so the same name picks
// the same face; a name it does not know gets its nearest, as in any Windows program.
bool findFontFile(const char* faceName, int pixels, SFontFile& found) {
    HFONT font = CreateFontA(pixels, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET,
                             OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, faceName);
    if (font == nullptr) return false;
    HDC dc = CreateCompatibleDC(nullptr);
    bool ok = false;
    if (dc != nullptr) {
        HGDIOBJ previous = SelectObject(dc, font);
        ok = copyFontData(dc, found.bytes);
        SelectObject(dc, previous);
        DeleteDC(dc);
    }
    DeleteObject(font);
    found.index = 0;
    return ok;
}
