#include "scenes/tunnelscene.h"

#include <cmath>

#include "core/show.h"
#include "fixedgl/gl.h"
#include "render/glowblur.h"
#include "render/overlay.h"
#include "render/spheremap.h"
#include "scenes/sceneassets.h"

namespace {

// The text picture shows from 12.5 s, the spectrum bars from the first frame after 25.3 s.
const double kTextFrom = 12.5;
const double kBarsAfter = 25.3;

// The spectrum bars, lowest band at the top: where each stands and how far it grows per unit.
struct Bar {
    int y;
    int m;
};
const Bar kBars[6] = {{520, 500}, {480, 520}, {440, 540}, {400, 570}, {360, 600}, {320, 630}};

// Each bar is 30 pixels high and grows right from the left edge, its right end slanted 20 pixels
// to the right at the top; blended at half strength over what lies below, untextured.
void drawBars(const float* s) {
    glDisable(GL_TEXTURE_2D);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1, 0, 0.8f, 0.5f);
    for (int k = 0; k < 6; ++k) {
        float y = static_cast<float>(kBars[k].y);
        double length = kBars[k].m * static_cast<double>(s[k]);
        glBegin(GL_QUADS);
        glVertex3f(0, y, 0);
        glVertex3f(static_cast<float>(length), y, 0);
        glVertex3f(static_cast<float>(length + 20), y + 30, 0);
        glVertex3f(0, y + 30, 0);
        glEnd();
    }
    glEnable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
}

// Only in the main view: everything from 700 units on fades to black by 900.
void fogTheDistance(const float* fogColor) {
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogfv(GL_FOG_COLOR, fogColor);
    glHint(GL_FOG_HINT, GL_NICEST);
    glFogf(GL_FOG_START, 700);
    glFogf(GL_FOG_END, 900);
    glEnable(GL_FOG);
}

double boxSize(const float* s, double base) {
    return static_cast<double>(s[0]) * 0.5 + base;
}

}  // namespace

void CTunnelScene::init() {
    boxSlime = std::make_unique<CSlimeBrush>("data/objects/chamferbox.ebr");
    tunnelMesh = loadInsideOut("data/objects/tunnel.ebr", 1.0f);
    ruterTex = loadTexture("data/textures/ruter.jpg");
    sv2Tex = loadTexture("data/textures/sv2.jpg");
    test2Tex = loadTexture("data/textures/test2.jpg");
    svTex = loadTexture("data/textures/sv.jpg");
    glowTex = emptyTexture(kGlowSize);
    overlayTex = loadTexture("data/textures/overlay_on.jpg");
}

void CTunnelScene::update() {
    double t = localTime;
    boxSlime->update(
        makeVector(static_cast<float>(3 * t), static_cast<float>(3 * t), static_cast<float>(2 * t)),
        deltaTime, 20);
}

void CTunnelScene::draw(float* s) {
    placeCamera();
    drawGlowPass(s);
    blurGlow(glowTex->id);
    drawMainView(s);
    drawOverlays(s);
}

// The eye swings to (70 sin t, 0, 270 + 50 sin t), always looking down the tunnel.
void CTunnelScene::placeCamera() {
    CVector campos(0, 0, 270);
    float swing = std::sin(localTime);
    campos.x = static_cast<float>(campos.x + static_cast<double>(swing) * 70);
    campos.z = static_cast<float>(campos.z + static_cast<double>(swing) * 50);
    glLoadIdentity();
    gluLookAt(campos.x, campos.y, campos.z, 0, 0, -200, 0, 1, 0);
}

// Turns and scrolls differently from the main view, unlit, with the box a little larger.
void CTunnelScene::drawGlowPass(const float* s) {
    glViewport(0, 0, kGlowSize, kGlowSize);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_LIGHTING);
    drawTunnel(28, 0.25, *sv2Tex);
    glEnable(GL_LIGHTING);
    sphereMapOn();
    glPushMatrix();
    turnBox(*svTex, boxSize(s, 1.3));
    boxSlime->draw();
    glPopMatrix();
    copyGlow(glowTex->id);
    sphereMapOff();
}

// The second layer of the box is added onto the first at the same depth.
void CTunnelScene::drawMainView(const float* s) {
    glViewport(0, 0, kFrameWidth, kFrameHeight);
    const float fogColor[4] = {0, 0, 0, 1};
    glClearColor(fogColor[0], fogColor[1], fogColor[2], fogColor[3]);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    fogTheDistance(fogColor);
    sphereMapOn();
    glPushMatrix();
    turnBox(*test2Tex, boxSize(s, 1.2));
    boxSlime->draw();
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    svTex->bind();
    boxSlime->draw();
    glDisable(GL_BLEND);
    glPopMatrix();
    sphereMapOff();
    glDisable(GL_LIGHTING);
    drawTunnel(30, -0.25, *ruterTex);
}

// The tunnel spins about its axis while its texture scrolls along it.
void CTunnelScene::drawTunnel(double degreesPerSecond, double scrollPerSecond, CTexture& walls) {
    double t = localTime;
    glPushMatrix();
    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    glTranslatef(0, static_cast<float>(t * scrollPerSecond), 0);
    glMatrixMode(GL_MODELVIEW);
    glRotatef(static_cast<float>(t * degreesPerSecond), 0, 0, 1);
    glTranslatef(0, 0, -200);
    walls.bind();
    tunnelMesh->draw();
    glMatrixMode(GL_TEXTURE);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

void CTunnelScene::turnBox(CTexture& layer, double size) {
    glTranslatef(0, 0, 100);
    glRotatef(static_cast<float>(static_cast<double>(localTime) * 50), 0.5f, 1, 0);
    layer.bind();
    float k = static_cast<float>(size);
    glScalef(k, k, k);
}

// The glow over the whole frame, the text picture from 12.5 s, the bars from the first frame
// after 25.3 s (a float clock never lands on it).
void CTunnelScene::drawOverlays(const float* s) {
    glEnable(GL_LIGHTING);
    beginGlowOverlay(glowTex->id);
    double t = localTime;
    if (t >= kTextFrom)
        drawTexturedQuad(288, static_cast<int>(static_cast<double>(s[4]) * 70),
                         static_cast<int>(static_cast<double>(s[3]) * 12 + 512),
                         static_cast<int>(static_cast<double>(s[2]) * 12 + 512), overlayTex->id);
    if (t > kBarsAfter) drawBars(s);
    endGlowOverlay();
    glDisable(GL_FOG);
}
