#include "render/glowblur.h"

#include "core/show.h"
#include "render/overlay.h"

namespace {

const int kPasses = 6;

void copyCorner() {
    glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 0, 0, kGlowSize, kGlowSize, 0);
}

// Squares of 128 to 143 pixels from 0 down to -7, all nearly centred on the corner: the texture
// magnified a little more each time, so bright parts spread away from the centre.
void addGrowingCopies(GLuint texture) {
    const float step = 3.0f / kPasses;
    for (int copy = 0; copy < kPasses; ++copy) {
        const float f = copy * step;
        double offset = -static_cast<double>(f) * 3;
        double size = 2 * static_cast<double>(f) * 3 + kGlowSize;
        drawTexturedQuad(static_cast<int>(offset), static_cast<int>(offset), static_cast<int>(size),
                         static_cast<int>(size), texture);
    }
}

}  // namespace

void copyGlow(GLuint texture) {
    glBindTexture(GL_TEXTURE_2D, texture);
    copyCorner();
}

// The corner is not cleared between passes: each pass adds onto what the earlier ones left, and
// each copy takes that sum.
void blurGlow(GLuint texture) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glColor4f(1, 1, 1, static_cast<float>(static_cast<double>(0.35f) / kPasses));
    for (int pass = 0; pass < kPasses; ++pass) {
        beginOrtho(kGlowSize, kGlowSize);
        addGrowingCopies(texture);
        copyCorner();
        endOrtho();
    }
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
}

void beginGlowOverlay(GLuint texture) {
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glColor4f(1, 1, 1, 1);
    beginOrtho(kFrameWidth, kFrameHeight);
    drawTexturedQuad(0, 0, kFrameWidth, kFrameHeight, texture);
}

void endGlowOverlay() {
    endOrtho();
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
}
