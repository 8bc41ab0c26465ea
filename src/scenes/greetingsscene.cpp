#include "scenes/greetingsscene.h"

#include <cmath>

#include "core/random.h"
#include "core/show.h"
#include "fixedgl/gl.h"
#include "render/overlay.h"
#include "scenes/sceneassets.h"

namespace {

// The camera orbits and jumps up to here, then stands; no float local time equals it.
const double kOrbitEnd = 25.1;
const double kGravity = -25;
const float kParticleSize = 5;

float scaled(double value, double factor) {
    return static_cast<float>(value * factor);
}

}  // namespace

CGreetingsScene::CGreetingsScene()
    : eye(100, 100, 200), particleCount(1500), cutTimer(0), target(0, 0, 0), emitter(0, 100, 0) {}

// Each random number is its own statement: their order is part of the show.
void CGreetingsScene::init() {
    particleTex = loadTexture("data/textures/particle.jpg");
    floorBaseTex = loadTexture("data/textures/ruter2.jpg");
    floorTex = loadTexture("data/textures/floortex.jpg");
    overlayTex = loadTexture("data/textures/overlay_greet.jpg");
    floorMesh = std::make_unique<CEGLBrush>();
    floorMesh->loadFromFile("data/objects/floor.ebr");
    // A floor that failed to load has no mesh to prepare and draws nothing.
    if (floorMesh->meshCount > 0) {
        floorMesh->meshes[0]->scale(2.0f);
        floorMesh->meshes[0]->calcNormals();
    }
    positions.assign(particleCount, CVector());
    velocities.assign(particleCount, CVector());
    ages.assign(particleCount, 0.0f);
    for (int i = 0; i < particleCount; ++i) {
        positions[i] = emitter;
        CVector& v = velocities[i];
        v.x = static_cast<float>(randomUnit() * 40.0 - 20);
        v.y = scaled(randomUnit(), 10);
        v.z = static_cast<float>(randomUnit() * 40.0 - 20);
        ages[i] = scaled(randomUnit(), 15);
    }
}

void CGreetingsScene::update() {
    double t = localTime;
    double dt = deltaTime;
    for (int i = 0; i < particleCount; ++i) {
        ages[i] = static_cast<float>(ages[i] + dt);
        if (ages[i] > 7) emit(i, t);
        moveParticle(i, dt);
    }
}

// New particles leave in a horizontal direction that turns once every 2 pi seconds.
void CGreetingsScene::emit(int i, double t) {
    positions[i] = emitter;
    CVector& v = velocities[i];
    v.x = static_cast<float>(randomUnit() * 40.0 * std::cos(t));
    v.y = scaled(randomUnit(), 10);
    v.z = static_cast<float>(randomUnit() * 40.0 * std::sin(t));
    ages[i] = scaled(randomUnit(), 15);
}

// Gravity, then the step with the new velocity; below the floor it bounces, losing speed.
void CGreetingsScene::moveParticle(int i, double dt) {
    CVector& v = velocities[i];
    CVector& p = positions[i];
    v.y = static_cast<float>(v.y + kGravity * dt);
    p = CVector(static_cast<float>(p.x + v.x * dt), static_cast<float>(p.y + v.y * dt),
                static_cast<float>(p.z + v.z * dt));
    if (p.y < 0) {
        v.x = scaled(v.x, 0.4);
        v.y = scaled(-v.y, 0.6);
        v.z = scaled(v.z, 0.4);
        p.y = 0.1f;
    }
}

void CGreetingsScene::draw(float* s) {
    double t = localTime;
    glLoadIdentity();
    moveCamera(s);
    gluLookAt(eye.x, eye.y, eye.z, target.x, target.y, target.z, 0, 1, 0);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glDisable(GL_DEPTH_TEST);
    if (t >= kOrbitEnd) glRotatef(static_cast<float>(t * 10.7), 0, 1, 0);

    // The reflection in the floor plane, fainter than the particles themselves.
    glPushMatrix();
    glScalef(1, -1, 1);
    drawParticles(2);
    glPopMatrix();

    drawFloor(s[0]);

    glPushMatrix();
    drawParticles(4);
    glPopMatrix();

    glBlendFunc(GL_ONE, GL_ONE);
    if (t >= kOrbitEnd) drawGreetings(s);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
}

// Until the orbit ends: a jump on a strong low beat at most every 0.25 s, then the orbit at
// 0.5 rad/s; after it the camera stands at one place.
void CGreetingsScene::moveCamera(const float* s) {
    double t = localTime;
    if (t <= kOrbitEnd) {
        if (s[0] > 0.7 && cutTimer < 0) jumpCamera();
        rotateY(eye, scaled(deltaTime, 0.5));
    }
    if (t >= kOrbitEnd) {
        eye = CVector(90, 35, 0);
        target = CVector(140, 0, 0);
    }
    cutTimer = static_cast<float>(static_cast<double>(cutTimer) - deltaTime);
}

void CGreetingsScene::jumpCamera() {
    eye.x = static_cast<float>(randomUnit() * 200.0 + 90 - 100);
    eye.y = static_cast<float>(randomUnit() * 60.0 + 50);
    eye.z = static_cast<float>(randomUnit() * 200.0 + 90 - 100);
    target.x = static_cast<float>(15 - randomUnit() * 30.0);
    target.y = scaled(randomUnit(), 30);
    target.z = static_cast<float>(15 - randomUnit() * 30.0);
    cutTimer = 0.25f;
}

// Young particles are at full strength (GL clamps the alpha to 1); then they fade as
// brightness / age.
void CGreetingsScene::drawParticles(double brightness) {
    for (int i = 0; i < particleCount; ++i) {
        glColor4f(1, 1, 1, static_cast<float>(brightness / ages[i]));
        const CVector& p = positions[i];
        drawBillboard(p.x, p.y, p.z, kParticleSize, particleTex->id);
    }
}

// Two layers of the same mesh under the textures bound here (its meshes carry none): the base
// half-covers what lies beneath, the second is added at a strength that follows the low band.
void CGreetingsScene::drawFloor(float s0) {
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1, 1, 1, 0.5f);
    glDisable(GL_LIGHTING);
    glPushMatrix();
    glRotatef(-270, 1, 0, 0);
    floorBaseTex->bind();
    floorMesh->draw();
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glColor4f(1, 1, 1, static_cast<float>(s0 * 0.5 + 0.5));
    floorTex->bind();
    floorMesh->draw();
    glPopMatrix();
}

// Keeps the last particle colour; with this blend its alpha plays no part.
void CGreetingsScene::drawGreetings(const float* s) {
    double s0 = s[0], s3 = s[3];
    beginOrtho(kFrameWidth, kFrameHeight);
    drawTexturedQuad(0, static_cast<int>(88 - 2 * s3), static_cast<int>(s0 * 6 + 512),
                     static_cast<int>(s3 * 20 + 512), overlayTex->id);
    endOrtho();
}
