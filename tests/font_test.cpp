// CFont on a real offscreen GL context: where glyphs land, how far they advance, and what an
// empty, null or unknown input does.
#include <SDL.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdlib>
#include <fstream>
#include <vector>

#include "core/show.h"
#include "platform/font.h"
#include "support/glfixture.h"
#include "support/messagerecorder.h"
#include "support/scratchdir.h"

namespace {

const char* const kFace = "DejaVu Sans";
const int kX = 100;
const int kY = 300;

struct Box {
    int minX = 1 << 20, minY = 1 << 20, maxX = -1, maxY = -1;
    int lit = 0;
};

class FontTest : public GLFixture {
protected:
    // Plain white fragments in window coordinates, so a lit pixel can only come from a glyph.
    void SetUp() override {
        GLFixture::SetUp();
        glDisable(GL_LIGHTING);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_DEPTH_TEST);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, kFrameWidth, 0, kFrameHeight, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        clearBlack();
        glColor3f(1, 1, 1);
    }

    // Draws `text` with its baseline starting at (kX, kY); returns the raster x after it.
    static float printAt(CFont& font, const char* text) {
        glRasterPos2i(kX, kY);
        font.print(text);
        GLfloat position[4];
        glGetFloatv(GL_CURRENT_RASTER_POSITION, position);
        return position[0];
    }

    static Box litBox() {
        std::vector<unsigned char> rgba(kFrameWidth * kFrameHeight * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, kFrameWidth, kFrameHeight, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        Box box;
        for (int y = 0; y < kFrameHeight; ++y)
            for (int x = 0; x < kFrameWidth; ++x) {
                if (rgba[(y * kFrameWidth + x) * 4] == 0) continue;
                ++box.lit;
                box.minX = std::min(box.minX, x);
                box.maxX = std::max(box.maxX, x);
                box.minY = std::min(box.minY, y);
                box.maxY = std::max(box.maxY, y);
            }
        return box;
    }
};

TEST_F(FontTest, TextLightsPixelsRightOfTheRasterPositionAndAdvancesIt) {
    CFont font;
    ASSERT_NE(0u, font.listBase);
    ASSERT_TRUE(font.init(kFace, 24, window->hdc));
    EXPECT_NE(0, font.font->style_flags & FT_STYLE_FLAG_BOLD) << "the bold face is installed";
    float end = printAt(font, "HHHH");
    Box box = litBox();
    ASSERT_GT(box.lit, 0);
    EXPECT_GE(box.minX, kX);
    EXPECT_LE(box.maxX, end);
    EXPECT_GT(end, kX + 4 * 10);  // four capital H, each well over 10 pixels wide at 24
    // Capitals stand on the baseline and stay within the cell.
    EXPECT_GE(box.minY, kY);
    EXPECT_LE(box.maxY, kY + 24);
    EXPECT_GT(box.maxY, kY + 10);
}

TEST_F(FontTest, EachCharacterSelectsItsOwnGlyph) {
    CFont font;
    ASSERT_TRUE(font.init(kFace, 24, window->hdc));
    float spaces = printAt(font, "    ");
    EXPECT_EQ(0, litBox().lit) << "a space must draw nothing";
    EXPECT_GT(spaces, kX);
    float narrow = printAt(font, "iiii");
    float wide = printAt(font, "WWWW");
    EXPECT_LT(narrow - kX, wide - kX);
}

TEST_F(FontTest, HeightScalesTheGlyphs) {
    CFont small, large;
    ASSERT_TRUE(small.init(kFace, 16, window->hdc));
    ASSERT_TRUE(large.init(kFace, 48, window->hdc));
    printAt(small, "H");
    Box smallBox = litBox();
    clearBlack();
    printAt(large, "H");
    Box largeBox = litBox();
    int smallHeight = smallBox.maxY - smallBox.minY + 1;
    int largeHeight = largeBox.maxY - largeBox.minY + 1;
    EXPECT_GT(largeHeight, 2 * smallHeight);
    EXPECT_LT(largeHeight, 4 * smallHeight);
}

TEST_F(FontTest, EmptyAndNullTextDrawNothingAndKeepTheListBase) {
    CFont font;
    ASSERT_TRUE(font.init(kFace, 24, window->hdc));
    glListBase(7);
    for (const char* text : {"", static_cast<const char*>(nullptr)}) {
        EXPECT_EQ(static_cast<float>(kX), printAt(font, text));
        GLint base = 0;
        glGetIntegerv(GL_LIST_BASE, &base);
        EXPECT_EQ(7, base);
    }
    EXPECT_EQ(0, litBox().lit);
    EXPECT_EQ(static_cast<GLenum>(GL_NO_ERROR), glGetError());

    printAt(font, "A");
    GLint base = 0;
    glGetIntegerv(GL_LIST_BASE, &base);
    EXPECT_EQ(7, base) << "print must give the list base back";
}

TEST_F(FontTest, UnknownFaceFallsBackAndStillDraws) {
    MessageRecorder recorder;
    CFont font;
    ASSERT_TRUE(font.init("No Such Face Anywhere 4711", 24, window->hdc));
    EXPECT_TRUE(recorder.boxes.empty());
    float end = printAt(font, "HHHH");
    EXPECT_GT(end, kX + 4 * 10);
    EXPECT_GT(litBox().lit, 0);
}

// Fontconfig is pointed at a configuration with no fonts in it.
TEST_F(FontTest, NoFontAtAllIsReportedAndDrawsNothing) {
    std::string config = scratchPath("nofonts.conf");
    std::ofstream(config) << "<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n";
    setenv("FONTCONFIG_FILE", config.c_str(), 1);
    ASSERT_TRUE(FcInitReinitialize());
    MessageRecorder recorder;
    CFont font;
    bool ok = font.init(kFace, 24, window->hdc);
    unsetenv("FONTCONFIG_FILE");
    FcInitReinitialize();
    EXPECT_FALSE(ok);
    ASSERT_EQ(1u, recorder.boxes.size());
    EXPECT_EQ(MessageBoxStyle::Plain, recorder.boxes[0].style);
    EXPECT_EQ("unable to init font", recorder.boxes[0].text);
    EXPECT_EQ("CFont::init()", recorder.boxes[0].caption);
    printAt(font, "HHHH");
    EXPECT_EQ(0, litBox().lit);
}

TEST_F(FontTest, ListsAreDeletedOnlyWhileTheContextIsCurrent) {
    CFont* font = new CFont();
    ASSERT_TRUE(font->init(kFace, 24, window->hdc));
    GLuint base = font->listBase;
    ASSERT_TRUE(glIsList(base + 'A' - 32));
    delete font;
    EXPECT_FALSE(glIsList(base + 'A' - 32));

    font = new CFont();
    ASSERT_TRUE(font->init(kFace, 24, window->hdc));
    base = font->listBase;
    SDL_GL_MakeCurrent(window->hwnd, nullptr);
    delete font;
    SDL_GL_MakeCurrent(window->hwnd, window->hglrc);
    EXPECT_TRUE(glIsList(base + 'A' - 32));
}

TEST(FontWithoutContext, ReservesAndDeletesNothing) {
    CFont font;
    EXPECT_EQ(0u, font.listBase);
}

}  // namespace
