#include "scenes/endscene.h"

#include "core/random.h"
#include "core/show.h"
#include "fixedgl/gl.h"
#include "render/overlay.h"
#include "scenes/sceneassets.h"

namespace {

// The squares drift until the closing picture replaces them; the veil darkens them from 21 s.
const double kVeilFrom = 21;
const double kSquaresEnd = 25.9;

}  // namespace

CEndScene::CEndScene() : fadeAlpha(0), endAlpha(0) {}

void CEndScene::init() {
    quadMesh = std::make_unique<CEGLBrush>();
    // A file that fails to load leaves no mesh to prepare; the brush then draws nothing.
    if (quadMesh->loadFromFile("data/objects/quad.ebr") && quadMesh->meshCount > 0) {
        quadMesh->meshes[0]->calcNormals();
        quadMesh->meshes[0]->scale(0.8f);
    }
    bgTex = loadTexture("data/textures/bg.jpg");
    guttTex = loadTexture("data/textures/gutt.jpg");
    endTex = loadTexture("data/textures/end.jpg");
    placeSquares();
}

// A row from x = -340 in steps of 12; per square the draws are position y, position z, then the
// axis x, y, z.
void CEndScene::placeSquares() {
    for (int i = 0; i < kSquares; ++i) {
        float y = static_cast<float>(randomUnit() * 50.0 - 25);
        float z = static_cast<float>(randomUnit() * 80.0 - 25);
        positions[i] = CVector(static_cast<float>(i * 12 - 340), y, z);
        float ax = static_cast<float>(randomUnit() - 1.0);
        float ay = static_cast<float>(randomUnit() - 1.0);
        float az = static_cast<float>(randomUnit() - 1.0);
        axes[i] = CVector(ax, ay, az);
    }
}

void CEndScene::update() {
    for (int i = 0; i < kSquares; ++i)
        positions[i].x = static_cast<float>(positions[i].x + static_cast<double>(deltaTime) * 10);
}

// Each opacity is used before it grows, so a phase's first frame draws at opacity 0.
void CEndScene::draw(float* s) {
    glLoadIdentity();
    gluLookAt(10, 0, 150, 0, 0, 10, 0, 1, 0);
    if (localTime <= kSquaresEnd) {
        drawSquares();
        drawBackground(s);
        glEnable(GL_DEPTH_TEST);
        glDisable(GL_BLEND);
        if (localTime >= kVeilFrom) {
            drawVeil();
            fadeAlpha = static_cast<float>(fadeAlpha + static_cast<double>(deltaTime) * 0.2);
        }
    } else {
        drawClosingPicture();
        endAlpha = static_cast<float>(static_cast<double>(endAlpha) + deltaTime);
    }
}

// The quad's mesh has no picture of its own, so the bound gutt picture lies on every square.
void CEndScene::drawSquares() {
    glPushMatrix();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glColor4f(1, 1, 1, 1);
    guttTex->bind();
    float angle = static_cast<float>(static_cast<double>(localTime) * 11);
    for (int i = 0; i < kSquares; ++i) {
        glPushMatrix();
        glTranslatef(positions[i].x, positions[i].y, positions[i].z);
        glRotatef(angle, axes[i].x, axes[i].y, axes[i].z);
        quadMesh->draw();
        glPopMatrix();
    }
    glPopMatrix();
}

// Added onto the squares (the blend function is still source alpha, one); its width follows
// the lowest band.
void CEndScene::drawBackground(const float* s) {
    glColor4f(1, 1, 1, 1);
    beginOrtho(kFrameWidth, kFrameHeight);
    drawTexturedQuad(kCentredPictureX, kCentredPictureY,
                     static_cast<int>(static_cast<double>(s[0]) * 34 + kCentredPictureSize),
                     kCentredPictureSize, bgTex->id);
    endOrtho();
}

// No texture coordinates are given and texturing stays on: the bound picture, modulated by
// black, gives black at the veil's opacity.
void CEndScene::drawVeil() {
    beginOrtho(kFrameWidth, kFrameHeight);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0, 0, 0, fadeAlpha);
    glBegin(GL_QUADS);
    glVertex3f(0, 0, 0);
    glVertex3f(kFrameWidth, 0, 0);
    glVertex3f(kFrameWidth, kFrameHeight, 0);
    glVertex3f(0, kFrameHeight, 0);
    glEnd();
    endOrtho();
    glDisable(GL_BLEND);
}

// Blending is left on.
void CEndScene::drawClosingPicture() {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glColor4f(1, 1, 1, endAlpha);
    beginOrtho(kFrameWidth, kFrameHeight);
    drawTexturedQuad(kCentredPictureX, kCentredPictureY, kCentredPictureSize, kCentredPictureSize,
                     endTex->id);
    endOrtho();
}
