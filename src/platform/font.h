// Text drawn into the GL picture: 96 display lists, one bold bitmap glyph for each of characters
// 32 to 127, from a system font found by name. Does no layout (no line breaks, no kerning).
// Needs the GL context current on the main thread for construction, init and print.
#pragma once

#include <GL/gl.h>

#include <vector>

struct SDL_Window;
struct FT_LibraryRec_;
struct FT_FaceRec_;

class CFont {
public:
    CFont();
    ~CFont();
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;

    // `device` stands for the old device context; glyphs need no window here.
    bool init(const char* faceName, int height, SDL_Window* device);
    void print(const char* text);

    const char* faceName;  // the caller's string, not copied
    int height;
    FT_FaceRec_* font;  // the FreeType face, where the old system had a GDI font
    GLuint listBase;

private:
    bool openFace();
    void buildGlyphLists();
    void releaseFace();

    FT_LibraryRec_* library;
    std::vector<unsigned char> faceBytes;  // the font itself, where the system hands out no file
};
