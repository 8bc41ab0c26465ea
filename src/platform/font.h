// Text drawn into the GL picture: 96 display lists, one bold bitmap glyph for each of characters
// 32 to 127, from a system font found by name. Does no layout (no line breaks, no kerning).
// Needs the GL context current on the main thread for construction, init and print.
#pragma once

#include <GL/gl.h>

#include <memory>
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

    // FreeType's own release of a face and of the library.
    struct Release {
        void operator()(FT_FaceRec_* face) const;
        void operator()(FT_LibraryRec_* library) const;
    };

    const char* faceName;  // the caller's string, not copied
    int height;
    // The FreeType face, where the old system had a GDI font.
    std::unique_ptr<FT_FaceRec_, Release> font;
    GLuint listBase;

private:
    bool openFace();
    void buildGlyphLists();
    // The face before the library that made it.
    void releaseFace();

    std::unique_ptr<FT_LibraryRec_, Release> library;
    std::vector<unsigned char> faceBytes;  // the font itself, where the system hands out no file
};
