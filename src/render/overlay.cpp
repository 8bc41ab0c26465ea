#include "render/overlay.h"

namespace {

struct Corner {
    float s, t;
};

// Corners run counter-clockwise from the lower left; only the texture coordinates differ.
constexpr Corner kUpright[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
constexpr Corner kMirrored[4] = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};

void drawQuad(int x, int y, int width, int height, GLuint texture, const Corner* corners) {
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    int right = x + width;
    int top = y + height;
    const float vertices[4][2] = {{float(x), float(y)},
                                  {float(right), float(y)},
                                  {float(right), float(top)},
                                  {float(x), float(top)}};
    glBegin(GL_QUADS);
    for (int i = 0; i < 4; ++i) {
        glTexCoord2f(corners[i].s, corners[i].t);
        glVertex3f(vertices[i][0], vertices[i][1], 0);
    }
    glEnd();
}

}  // namespace

void beginOrtho(int width, int height) {
    glPushMatrix();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, static_cast<double>(width), 0, static_cast<double>(height), -1, 1);
    glMatrixMode(GL_MODELVIEW);
}

void endOrtho() {
    glEnable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

void drawTexturedQuad(int x, int y, int width, int height, GLuint texture) {
    drawQuad(x, y, width, height, texture, kUpright);
}

// The blend function, the white colour and GL_TEXTURE_2D stay set afterwards.
void drawBlendedQuad(int x, int y, int width, int height, GLuint texture) {
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    glColor4f(1, 1, 1, 1);
    drawQuad(x, y, width, height, texture, kMirrored);
    glDisable(GL_BLEND);
}

// The first two rows of the modelview's rotation part are the viewer's right and up directions
// in object coordinates.
void drawBillboard(float x, float y, float z, float size, GLuint texture) {
    float modelview[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    const double right[3] = {modelview[0], modelview[4], modelview[8]};
    const double up[3] = {modelview[1], modelview[5], modelview[9]};
    const double p[3] = {x, y, z};
    const double signs[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    float corners[4][3];
    for (int c = 0; c < 4; ++c)
        for (int k = 0; k < 3; ++k)
            corners[c][k] =
                static_cast<float>(p[k] + (signs[c][0] * right[k] + signs[c][1] * up[k]) * size);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_QUADS);
    for (int c = 0; c < 4; ++c) {
        glTexCoord2f(kMirrored[c].s, kMirrored[c].t);
        glVertex3f(corners[c][0], corners[c][1], corners[c][2]);
    }
    glEnd();
    glEnable(GL_LIGHTING);
}
