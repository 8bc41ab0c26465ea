#include "scenes/spikescene.h"

#include "core/show.h"
#include "fixedgl/gl.h"
#include "render/glowblur.h"
#include "render/overlay.h"
#include "render/spheremap.h"
#include "scenes/sceneassets.h"

namespace {

// The lowest band pushes the object down and to the right.
void pushByBass(const float* s) {
    double push = static_cast<double>(s[0]) * 10;
    glTranslatef(static_cast<float>(push), static_cast<float>(-push), 0);
}

}  // namespace

void CSpikeScene::init() {
    spikeSlime = std::make_unique<CSlimeBrush>("data/objects/spikeslime.ebr");
    roomMesh = loadInsideOut("data/objects/bicube.ebr", 5.0f);
    spikeBaseTex = loadTexture("data/textures/spikebase.jpg");
    svTex = loadTexture("data/textures/sv.jpg");
    glowTex = emptyTexture(kGlowSize);
    jenteTex = loadTexture("data/textures/jente.jpg");
    guttTex = loadTexture("data/textures/gutt.jpg");
    roomTex = loadTexture("data/textures/roomtex.jpg");
}

void CSpikeScene::update() {
    float t = localTime;
    spikeSlime->update(makeVector(static_cast<float>(0.2 * t), t, t), deltaTime, 8);
}

// The glow pass sees through the main view's camera; only the viewport is the small corner, so
// the whole view is squeezed into it and the full-frame quad stretches it back.
void CSpikeScene::draw(float* s) {
    glLoadIdentity();
    gluLookAt(10, 10, 200, 0, 0, 0, 0, 1, 0);
    drawGlowPass(s);
    blurGlow(glowTex->id);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glViewport(0, 0, kFrameWidth, kFrameHeight);
    drawRoom();
    drawObject(s);
    drawOverlays(s);
}

void CSpikeScene::drawGlowPass(const float* s) {
    glViewport(0, 0, kGlowSize, kGlowSize);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glPushMatrix();
    sphereMapOn();
    svTex->bind();
    pushByBass(s);
    spikeSlime->draw();
    copyGlow(glowTex->id);
    sphereMapOff();
    glPopMatrix();
}

// 16 degrees a second about x, then 12 about y.
void CSpikeScene::drawRoom() {
    double t = localTime;
    glPushMatrix();
    roomTex->bind();
    glRotatef(static_cast<float>(t * 16), 1, 0, 0);
    glRotatef(static_cast<float>(t * 12), 0, 1, 0);
    roomMesh->draw();
    glPopMatrix();
}

void CSpikeScene::drawObject(const float* s) {
    glPushMatrix();
    sphereMapOn();
    spikeBaseTex->bind();
    pushByBass(s);
    spikeSlime->draw();
    sphereMapOff();
    glPopMatrix();
}

// The glow added over the whole frame, then the two pictures at 0.09, moving apart vertically
// with the third band: the left one down, the right one up.
void CSpikeScene::drawOverlays(const float* s) {
    beginGlowOverlay(glowTex->id);
    glColor4f(1, 1, 1, 0.09f);
    double swing = static_cast<double>(s[2]) * 80;
    drawTexturedQuad(144, static_cast<int>(222 - (swing + 25)), 256, 256, guttTex->id);
    drawTexturedQuad(400, static_cast<int>(swing - 25 + 222), 256, 256, jenteTex->id);
    endGlowOverlay();
}
