#include "textrenderer.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>

#ifndef VEXMORO_FONT_DIR
#define VEXMORO_FONT_DIR "/usr/share/fonts/truetype/dejavu"
#endif

std::string fontPath(const std::string& fileName) {
    return std::string(VEXMORO_FONT_DIR) + "/" + fileName;
}

CTextRenderer::CTextRenderer(const std::string& path) {
    if (FT_Init_FreeType(&library) != 0) {
        library = nullptr;
        return;
    }
    if (FT_New_Face(library, path.c_str(), 0, &face) != 0) face = nullptr;
}

CTextRenderer::~CTextRenderer() {
    if (face) FT_Done_Face(face);
    if (library) FT_Done_FreeType(library);
}

float CTextRenderer::layout(const std::string& text, int size, float tracking, bool render,
                            const std::function<void(float pen)>& placed) const {
    if (!face) return 0.0f;
    FT_Set_Pixel_Sizes(face, 0, size);
    float pen = 0.0f;
    FT_UInt previous = 0;
    for (unsigned char ch : text) {
        const FT_UInt glyph = FT_Get_Char_Index(face, ch);
        if (previous && glyph && FT_HAS_KERNING(face)) {
            FT_Vector kern;
            FT_Get_Kerning(face, previous, glyph, FT_KERNING_DEFAULT, &kern);
            pen += kern.x / 64.0f;
        }
        previous = glyph;
        if (FT_Load_Glyph(face, glyph, render ? FT_LOAD_RENDER : FT_LOAD_DEFAULT) != 0) continue;
        placed(pen);
        pen += face->glyph->advance.x / 64.0f + tracking;
    }
    return pen - tracking;
}

float CTextRenderer::measure(const std::string& text, int size, float tracking) const {
    return layout(text, size, tracking, false, [](float) {});
}

float CTextRenderer::draw(CMask& mask, const std::string& text, float x, float baseline, int size,
                          float tracking) const {
    return x + layout(text, size, tracking, true, [&](float pen) {
               const FT_GlyphSlot slot = face->glyph;
               const FT_Bitmap& bitmap = slot->bitmap;
               const int left = int(std::lround(x + pen)) + slot->bitmap_left;
               const int top = int(std::lround(baseline)) - slot->bitmap_top;
               for (unsigned row = 0; row < bitmap.rows; ++row)
                   for (unsigned col = 0; col < bitmap.width; ++col)
                       mask.maxAt(left + int(col), top + int(row),
                                  bitmap.buffer[row * bitmap.pitch + col] / 255.0f);
           });
}

void CTextRenderer::drawCentred(CMask& mask, const std::string& text, float cx, float baseline,
                                int size, float tracking) const {
    draw(mask, text, cx - measure(text, size, tracking) / 2.0f, baseline, size, tracking);
}
