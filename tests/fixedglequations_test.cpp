// What fixed-function GL computes for the show's settings, against values worked out by hand
// from GL 1.x's equations: the light, fog, sphere-map texture coordinates, and primitives
// gathered across state changes. Built with each renderer, so both must agree with the hand.
#include <gtest/gtest.h>

#include <vector>

#include "core/show.h"
#include "fixedgl/gl.h"
#include "support/glfixture.h"

namespace {

class FixedGLEquations : public GLFixture {
protected:
    void SetUp() override {
        GLFixture::SetUp();
        glDisable(GL_CULL_FACE);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_TEXTURE_2D);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        clearBlack();
    }

    // A square over the whole frame at depth z, seen through identity matrices.
    static void square(float z) {
        glBegin(GL_QUADS);
        glVertex3f(-1, -1, z);
        glVertex3f(1, -1, z);
        glVertex3f(1, 1, z);
        glVertex3f(-1, 1, z);
        glEnd();
    }

    static int centreRed() { return pixel(kFrameWidth / 2, kFrameHeight / 2)[0]; }
};

// Light 0 from the viewer, default material: 0.2 * 0.2 + 0.8 * max(n.l, 0), in 255 levels.
TEST_F(FixedGLEquations, TheLightFollowsTheNormalInEyeCoordinates) {
    struct Case {
        float nx, ny, nz, turnAboutY;
        bool normalize;
        int red;
    } cases[] = {
        {0, 0, 1, 0, true, 214},                // 0.84
        {0, 0.6f, 0.8f, 0, true, 173},          // 0.68
        {0, 0, -1, 0, true, 10},                // the ambient 0.04 alone
        {0, 0, 2, 0, true, 214},                // made unit length
        {0, 0, 2, 0, false, 255},               // 1.64, clamped
        {-0.8660254f, 0, 0.5f, 60, true, 214},  // turned by the modelview to face the viewer
        {0.8660254f, 0, -0.5f, 60, true, 10},   // and away
    };
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    for (const Case& c : cases) {
        c.normalize ? glEnable(GL_NORMALIZE) : glDisable(GL_NORMALIZE);
        glLoadIdentity();
        glRotatef(c.turnAboutY, 0, 1, 0);
        glNormal3f(c.nx, c.ny, c.nz);
        square(0);
        EXPECT_NEAR(centreRed(), c.red, 1)
            << c.nx << " " << c.ny << " " << c.nz << " turned " << c.turnAboutY;
    }
}

// Linear fog on the eye's distance: f = (end - |z|) / (end - start), colour f C + (1 - f) fog.
TEST_F(FixedGLEquations, LinearFogMixesByTheEyesDistance) {
    glMatrixMode(GL_PROJECTION);
    glOrtho(-1, 1, -1, 1, 0, 200);
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_LIGHTING);
    glEnable(GL_FOG);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    const GLfloat blue[4] = {0, 0, 1, 1};
    glFogfv(GL_FOG_COLOR, blue);
    glFogf(GL_FOG_START, 10);
    glFogf(GL_FOG_END, 110);
    struct Case {
        float z;
        int red, blue;
    } cases[] = {{-35, 191, 255}, {-5, 255, 255}, {-60, 128, 255}, {-150, 0, 255}};
    for (const Case& c : cases) {
        clearBlack();
        glColor4f(1, 0, 0, 1);
        square(c.z);
        auto p = pixel(kFrameWidth / 2, kFrameHeight / 2);
        EXPECT_NEAR(p[0], c.red, 1) << "z " << c.z;
        EXPECT_NEAR(p[2], 255 - c.red, 1) << "z " << c.z;
    }
}

// A texture whose red is its column and green its row gives s and t back as colours.
GLuint coordinateTexture() {
    std::vector<unsigned char> rgb(256 * 256 * 3);
    for (int t = 0; t < 256; ++t)
        for (int s = 0; s < 256; ++s) {
            rgb[(t * 256 + s) * 3] = static_cast<unsigned char>(s);
            rgb[(t * 256 + s) * 3 + 1] = static_cast<unsigned char>(t);
        }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 256, 256, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return name;
}

// Seen straight on from far away, u = (0, 0, -1): r = u - 2 n (n.u), m = 2 |r + (0, 0, 1)|,
// s = r.x / m + 0.5, t = r.y / m + 0.5.
TEST_F(FixedGLEquations, SphereMapCoordinatesComeFromTheReflectedView) {
    glMatrixMode(GL_PROJECTION);
    glOrtho(-0.001, 0.001, -0.001, 0.001, 1, 100);
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    GLuint texture = coordinateTexture();
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glColor4f(1, 1, 1, 1);
    struct Case {
        float nx, ny, nz;
        int s, t;  // in 256ths
    } cases[] = {{0, 0, 1, 128, 128}, {0.6f, 0, 0.8f, 204, 128}, {0, -0.6f, 0.8f, 128, 51}};
    for (const Case& c : cases) {
        glNormal3f(c.nx, c.ny, c.nz);
        glBegin(GL_QUADS);
        glVertex3f(-0.001f, -0.001f, -10);
        glVertex3f(0.001f, -0.001f, -10);
        glVertex3f(0.001f, 0.001f, -10);
        glVertex3f(-0.001f, 0.001f, -10);
        glEnd();
        auto p = pixel(kFrameWidth / 2, kFrameHeight / 2);
        EXPECT_NEAR(p[0], c.s, 1) << c.nx << " " << c.ny << " " << c.nz;
        EXPECT_NEAR(p[1], c.t, 1) << c.nx << " " << c.ny << " " << c.nz;
    }
    glDeleteTextures(1, &texture);
}

// Squares drawn one after another, with switches and colours changed between them as the
// billboards do, each keep the state they were given.
TEST_F(FixedGLEquations, EachPrimitiveKeepsTheStateItWasDrawnWith) {
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glNormal3f(0, 0, 1);
    const float width = 2.0f / 4;
    for (int i = 0; i < 4; ++i) {
        bool lit = i % 2 == 1;
        lit ? glEnable(GL_LIGHTING) : glDisable(GL_LIGHTING);
        glColor4f(i == 0 ? 1.0f : 0.0f, i == 2 ? 1.0f : 0.0f, 0, 1);
        float x = -1 + i * width;
        glBegin(GL_QUADS);
        glVertex3f(x, -1, 0);
        glVertex3f(x + width, -1, 0);
        glVertex3f(x + width, 1, 0);
        glVertex3f(x, 1, 0);
        glEnd();
        glEnable(GL_LIGHTING);
    }
    const int expected[4][3] = {{255, 0, 0}, {214, 214, 214}, {0, 255, 0}, {214, 214, 214}};
    for (int i = 0; i < 4; ++i) {
        auto p = pixel(kFrameWidth / 8 + i * kFrameWidth / 4, kFrameHeight / 2);
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(p[k], expected[i][k], 1) << "square " << i;
    }
}

}  // namespace
