// The second scene: a fountain of particles bouncing on a semi-transparent floor over their own
// mirror image; the camera orbits and jumps on beats, then stands while the world turns under the
// pulsing greetings picture. Its jumps and re-emissions draw from the shared random sequence, so
// a run is the same frame for frame only from the same seed. Needs the GL context current; main
// thread only.
#pragma once

#include <memory>
#include <vector>

#include "assets/eglbrush.h"
#include "assets/texture.h"
#include "core/scene.h"
#include "math/vector.h"

class CGreetingsScene : public CScene {
public:
    CGreetingsScene();
    CGreetingsScene(const CGreetingsScene&) = delete;
    CGreetingsScene& operator=(const CGreetingsScene&) = delete;

    // Draws 4 random numbers per particle, in particle order.
    void init() override;
    void update() override;
    void draw(float* spectrum) override;

    CVector eye;
    int particleCount;
    float cutTimer;  // seconds until the camera may jump again
    CVector target;
    CVector emitter;
    // Declared last to first, so that they are released from particleTex on; the arrays hold
    // particleCount entries after init.
    std::vector<float> ages;
    std::vector<CVector> velocities;
    std::vector<CVector> positions;
    std::unique_ptr<CEGLBrush> floorMesh;
    std::unique_ptr<CTexture> overlayTex;
    std::unique_ptr<CTexture> floorTex;
    std::unique_ptr<CTexture> floorBaseTex;
    std::unique_ptr<CTexture> particleTex;

private:
    void emit(int i, double t);
    void moveParticle(int i, double dt);
    void moveCamera(const float* s);
    void jumpCamera();
    void drawParticles(double brightness);
    void drawFloor(float s0);
    void drawGreetings(const float* s);
};
