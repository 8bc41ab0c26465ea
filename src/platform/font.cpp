#include "platform/font.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/fontfile.h"
#include "platform/glcontext.h"
#include "platform/messagebox.h"

namespace {

const int kFirstChar = 32;
const int kCharCount = 96;
const int kDefaultHeight = 16;  // what a height of 0 asks for: the system's default size

// A positive height is the whole cell, ascent and descent; a negative one the em alone.
bool setPixelHeight(FT_Face face, int height) {
    FT_Size_RequestRec request{};
    request.type = height < 0 ? FT_SIZE_REQUEST_TYPE_NOMINAL : FT_SIZE_REQUEST_TYPE_REAL_DIM;
    long pixels = height == 0 ? kDefaultHeight : std::labs(height);
    request.height = pixels * 64;
    return FT_Request_Size(face, &request) == 0;
}

// glBitmap takes one bit per pixel, rows bottom up: the antialiased coverage is cut at half.
// Blank glyphs get one clear pixel, since Mesa refuses to compile an empty bitmap.
std::vector<GLubyte> toBitmap(const FT_Bitmap& gray, GLsizei& width, GLsizei& rows) {
    width = std::max(1u, gray.width);
    rows = std::max(1u, gray.rows);
    unsigned stride = (width + 7) / 8;
    std::vector<GLubyte> bits(stride * rows, 0);
    for (unsigned row = 0; row < gray.rows; ++row) {
        const unsigned char* source = gray.buffer + row * gray.pitch;
        GLubyte* target = &bits[(gray.rows - 1 - row) * stride];
        for (unsigned x = 0; x < gray.width; ++x)
            if (source[x] >= 128) target[x / 8] |= static_cast<GLubyte>(0x80 >> (x % 8));
    }
    return bits;
}

// The glyph is drawn with its origin on the raster position and moves it on by its advance.
void compileGlyph(FT_GlyphSlot glyph, GLuint list) {
    GLsizei width, rows;
    std::vector<GLubyte> bits = toBitmap(glyph->bitmap, width, rows);
    GLfloat xorig = static_cast<GLfloat>(-glyph->bitmap_left);
    GLfloat yorig = static_cast<GLfloat>(static_cast<int>(glyph->bitmap.rows) - glyph->bitmap_top);
    glNewList(list, GL_COMPILE);
    glBitmap(width, rows, xorig, yorig, static_cast<GLfloat>(glyph->advance.x) / 64.0f, 0.0f,
             bits.data());
    glEndList();
}

}  // namespace

void CFont::Release::operator()(FT_FaceRec_* face) const {
    FT_Done_Face(face);
}

void CFont::Release::operator()(FT_LibraryRec_* made) const {
    FT_Done_FreeType(made);
}

CFont::CFont() : faceName(nullptr), height(0), font(), listBase(0), library() {
    if (isGLContextCurrent()) listBase = glGenLists(kCharCount);
}

CFont::~CFont() {
    if (listBase != 0 && isGLContextCurrent()) glDeleteLists(listBase, kCharCount);
    releaseFace();
}

bool CFont::init(const char* name, int pixels, SDL_Window* /*device*/) {
    height = pixels;
    faceName = name;
    releaseFace();
    if (!openFace()) {
        showMessage("unable to init font", "CFont::init()");
        return false;
    }
    buildGlyphLists();
    return true;
}

bool CFont::openFace() {
    SFontFile file;
    if (!findFontFile(faceName, height == 0 ? kDefaultHeight : std::abs(height), file))
        return false;
    FT_Library made = nullptr;
    if (FT_Init_FreeType(&made) != 0) return false;
    library.reset(made);
    FT_Face face = nullptr;
    faceBytes = std::move(file.bytes);
    FT_Error failed =
        faceBytes.empty()
            ? FT_New_Face(library.get(), file.path.c_str(), file.index, &face)
            : FT_New_Memory_Face(library.get(), faceBytes.data(),
                                 static_cast<FT_Long>(faceBytes.size()), file.index, &face);
    if (failed != 0) return false;
    font.reset(face);
    return setPixelHeight(font.get(), height);
}

// Bitmaps are unpacked into the lists as they are compiled, so the caller's unpack state must
// not shape them.
void CFont::buildGlyphLists() {
    if (listBase == 0) return;
    bool embolden = (font->style_flags & FT_STYLE_FLAG_BOLD) == 0;
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    glPixelStorei(GL_UNPACK_SWAP_BYTES, GL_FALSE);
    for (int i = 0; i < kCharCount; ++i) {
        if (FT_Load_Char(font.get(), kFirstChar + i, FT_LOAD_DEFAULT) != 0) continue;
        if (embolden) FT_GlyphSlot_Embolden(font->glyph);
        if (FT_Render_Glyph(font->glyph, FT_RENDER_MODE_NORMAL) != 0) continue;
        compileGlyph(font->glyph, listBase + i);
    }
    glPopClientAttrib();
}

void CFont::releaseFace() {
    font.reset();
    library.reset();
    faceBytes.clear();
}

void CFont::print(const char* text) {
    if (text == nullptr) return;
    glPushAttrib(GL_LIST_BIT);
    glListBase(listBase - kFirstChar);
    glCallLists(static_cast<GLsizei>(std::strlen(text)), GL_UNSIGNED_BYTE, text);
    glPopAttrib();
}
