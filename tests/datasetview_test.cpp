// The generated meshes drawn on a real GL context the way their scenes draw them: each is seen
// from where the show's camera stands, so a wrong winding, a room too small for the camera or
// an object too large for the view shows up as missing or clipped pixels. With the environment
// variable VEXMORO_VIEW_SHEET set to a file name, the textured views are also saved there as
// one PNG, to look at.
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <memory>

#include "assets/eglbrush.h"
#include "assets/texture.h"
#include "canvas.h"
#include "core/show.h"
#include "imagewriter.h"
#include "support/glfixture.h"

namespace {

const std::string kData = VEXMORO_DATA_DIR;
const float kPi = 3.14159265f;

// How the sheet's textured view is lit: the tunnel and the floor are drawn unlit in the show,
// the objects lit and mirror-mapped.
enum class Look { Unlit, Lit, Mirror };

struct SFrame {
    std::vector<unsigned char> rgb;  // 800 x 600, bottom row first
    bool lit(int x, int y) const {
        const unsigned char* p = &rgb[(size_t(y) * kFrameWidth + x) * 3];
        return p[0] > 3 || p[1] > 3 || p[2] > 3;
    }
    double coverage() const {
        size_t count = 0;
        for (int y = 0; y < kFrameHeight; ++y)
            for (int x = 0; x < kFrameWidth; ++x) count += lit(x, y);
        return double(count) / (double(kFrameWidth) * kFrameHeight);
    }
    // How many of the frame's outermost pixels are drawn, 0..1.
    double border() const {
        size_t count = 0;
        for (int x = 0; x < kFrameWidth; ++x) count += lit(x, 0) + lit(x, kFrameHeight - 1);
        for (int y = 0; y < kFrameHeight; ++y) count += lit(0, y) + lit(kFrameWidth - 1, y);
        return double(count) / (2 * kFrameWidth + 2 * kFrameHeight);
    }
};

class DataSetView : public GLFixture {
protected:
    // Loads a mesh file the way the scenes prepare it.
    static std::unique_ptr<CEGLBrush> load(const char* file, float scale, bool insideOut) {
        auto brush = std::make_unique<CEGLBrush>();
        EXPECT_TRUE(brush->loadFromFile((kData + "/objects/" + file).c_str())) << file;
        if (brush->meshCount < 1) return brush;
        if (scale != 1.0f) brush->meshes[0]->scale(scale);
        brush->meshes[0]->calcNormals();
        if (insideOut) brush->meshes[0]->negateVertices();
        return brush;
    }

    // Draws once flat and white for the checks, and once textured and lit for the sheet.
    SFrame view(const std::function<void()>& place, CEGLBrush& brush, const char* picture,
                Look look, int cell) {
        clearBlack();
        glDisable(GL_LIGHTING);
        glDisable(GL_TEXTURE_2D);
        glColor3f(1, 1, 1);
        glLoadIdentity();
        place();
        brush.draw();
        SFrame frame;
        frame.rgb.resize(kFrameWidth * kFrameHeight * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, kFrameWidth, kFrameHeight, GL_RGB, GL_UNSIGNED_BYTE, frame.rgb.data());
        if (std::getenv("VEXMORO_VIEW_SHEET")) keepTextured(place, brush, picture, look, cell);
        return frame;
    }

    void keepTextured(const std::function<void()>& place, CEGLBrush& brush, const char* picture,
                      Look look, int cell) {
        clearBlack();
        CTexture texture;
        texture.load((kData + "/textures/" + picture).c_str());
        if (look != Look::Unlit) glEnable(GL_LIGHTING);
        glEnable(GL_TEXTURE_2D);
        if (look == Look::Mirror) {
            glEnable(GL_TEXTURE_GEN_S);
            glEnable(GL_TEXTURE_GEN_T);
        }
        glColor3f(1, 1, 1);
        glLoadIdentity();
        place();
        texture.bind();
        brush.draw();
        glDisable(GL_TEXTURE_GEN_S);
        glDisable(GL_TEXTURE_GEN_T);
        std::vector<unsigned char> rgb(kFrameWidth * kFrameHeight * 3);
        glReadPixels(0, 0, kFrameWidth, kFrameHeight, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        CCanvas frame(kFrameWidth, kFrameHeight);
        for (int y = 0; y < kFrameHeight; ++y)
            for (int x = 0; x < kFrameWidth; ++x) {
                const unsigned char* p = &rgb[(size_t(kFrameHeight - 1 - y) * kFrameWidth + x) * 3];
                frame.set(x, y, {p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f});
            }
        sheet().blit(frame.resized(400, 300), (cell % 3) * 400, (cell / 3) * 300);
        writePng(std::getenv("VEXMORO_VIEW_SHEET"), sheet().width(), sheet().height(),
                 sheet().toRgb8());
    }

    static CCanvas& sheet() {
        static CCanvas canvas(1200, 600);
        return canvas;
    }
};

}  // namespace

TEST_F(DataSetView, QuadShowsBothSides) {
    auto quad = load("quad.ebr", 0.8f, false);
    const SFrame front =
        view([] { gluLookAt(3, 2, 20, 0, 0, 0, 0, 1, 0); }, *quad, "gutt.jpg", Look::Unlit, 0);
    const SFrame back =
        view([] { gluLookAt(-3, 2, -20, 0, 0, 0, 0, 1, 0); }, *quad, "gutt.jpg", Look::Unlit, 0);
    EXPECT_TRUE(front.lit(400, 300));
    EXPECT_TRUE(back.lit(400, 300));
    EXPECT_GT(front.coverage(), 0.1);
}

TEST_F(DataSetView, FloorIsSeenFromAboveOnly) {
    auto floor = load("floor.ebr", 2.0f, false);
    auto above = [] {
        gluLookAt(100, 35, 200, 0, 0, 0, 0, 1, 0);
        glRotatef(-270, 1, 0, 0);
    };
    auto below = [] {
        gluLookAt(100, -35, 200, 0, 0, 0, 0, 1, 0);
        glRotatef(-270, 1, 0, 0);
    };
    EXPECT_GT(view(above, *floor, "ruter2.jpg", Look::Unlit, 1).coverage(), 0.3);
    EXPECT_EQ(view(below, *floor, "ruter2.jpg", Look::Unlit, 1).coverage(), 0.0);
    view(above, *floor, "ruter2.jpg", Look::Unlit, 1);
}

TEST_F(DataSetView, RoomSurroundsTheCameraAsItTumbles) {
    auto room = load("bicube.ebr", 5.0f, true);
    for (float t : {0.0f, 3.7f, 11.2f, 19.9f}) {
        const SFrame frame = view(
            [t] {
                gluLookAt(10, 10, 200, 0, 0, 0, 0, 1, 0);
                glRotatef(t * 16, 1, 0, 0);
                glRotatef(t * 12, 0, 1, 0);
            },
            *room, "roomtex.jpg", Look::Lit, 2);
        EXPECT_EQ(frame.coverage(), 1.0) << "t = " << t;
    }
}

TEST_F(DataSetView, SpikyObjectFitsTheViewEvenWhenPushed) {
    auto spikes = load("spikeslime.ebr", 1.0f, false);
    for (float s0 : {0.0f, 1.0f}) {
        const SFrame frame = view(
            [s0] {
                gluLookAt(10, 10, 200, 0, 0, 0, 0, 1, 0);
                glTranslatef(s0 * 10, s0 * -10, 0);
            },
            *spikes, "spikebase.jpg", Look::Mirror, 3);
        EXPECT_EQ(frame.border(), 0.0) << "s0 = " << s0;
        EXPECT_GT(frame.coverage(), 0.1);
    }
}

TEST_F(DataSetView, TunnelSurroundsTheSwingingEye) {
    auto tunnel = load("tunnel.ebr", 1.0f, true);
    for (float t : {0.0f, kPi / 2, 3 * kPi / 2, 20.0f}) {
        const SFrame frame = view(
            [t] {
                gluLookAt(std::sin(t) * 70, 0, 270 + std::sin(t) * 50, 0, 0, -200, 0, 1, 0);
                glRotatef(t * 30, 0, 0, 1);
                glTranslatef(0, 0, -200);
            },
            *tunnel, "ruter.jpg", Look::Unlit, 4);
        // Only the far opening, 1400 units ahead and black in the fog, is left uncovered.
        EXPECT_EQ(frame.border(), 1.0) << "t = " << t;
        EXPECT_GT(frame.coverage(), 0.95) << "t = " << t;
    }
}

TEST_F(DataSetView, ChamferedBoxStandsInTheTunnelView) {
    // From the far end of the swing the whole box is in view; from the near end it looms large
    // but the tunnel still shows around it.
    auto box = load("chamferbox.ebr", 1.0f, false);
    for (float t : {kPi / 2, 3 * kPi / 2}) {
        const SFrame frame = view(
            [t] {
                gluLookAt(std::sin(t) * 70, 0, 270 + std::sin(t) * 50, 0, 0, -200, 0, 1, 0);
                glTranslatef(0, 0, 100);
                glRotatef(t * 50, 0.5f, 1, 0);
                glScalef(1.8f, 1.8f, 1.8f);
            },
            *box, "test2.jpg", Look::Mirror, 5);
        if (t < kPi) {
            EXPECT_EQ(frame.border(), 0.0);
        }
        EXPECT_GT(frame.coverage(), 0.05) << "t = " << t;
        EXPECT_LT(frame.coverage(), 0.8) << "t = " << t;
    }
}
