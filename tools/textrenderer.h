// Draws text into a CMask with FreeType from one font file (the DejaVu faces). Left-to-right
// Latin text only, no shaping or line breaking. Needs the font file to exist; one per thread.
#pragma once

#include <functional>
#include <string>

#include "mask.h"

struct FT_LibraryRec_;
struct FT_FaceRec_;

class CTextRenderer {
public:
    explicit CTextRenderer(const std::string& fontPath);
    ~CTextRenderer();
    CTextRenderer(const CTextRenderer&) = delete;
    CTextRenderer& operator=(const CTextRenderer&) = delete;

    bool ok() const { return face != nullptr; }
    // Advance width in pixels of `text` at `size` pixels per em, with extra `tracking` per letter.
    float measure(const std::string& text, int size, float tracking = 0.0f) const;
    // Draws with the baseline at `baseline` and the pen starting at x; returns the end of the pen.
    float draw(CMask& mask, const std::string& text, float x, float baseline, int size,
               float tracking = 0.0f) const;
    // The same, centred on cx.
    void drawCentred(CMask& mask, const std::string& text, float cx, float baseline, int size,
                     float tracking = 0.0f) const;

private:
    // Walks the glyphs with kerning and tracking, calling placed(pen) with each glyph loaded
    // (and rendered when asked); returns the advance of the whole line.
    float layout(const std::string& text, int size, float tracking, bool render,
                 const std::function<void(float pen)>& placed) const;

    FT_LibraryRec_* library = nullptr;
    FT_FaceRec_* face = nullptr;
};

// Path of a DejaVu face by file name, e.g. "DejaVuSans-Bold.ttf".
std::string fontPath(const std::string& fileName);
