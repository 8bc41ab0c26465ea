// The third scene: a writhing, sphere-mapped spike object inside a tumbling room, pushed by the
// lowest band, with a radial glow over the frame and two faint pictures at the sides that move
// with the third band. Uses the frame's 128 by 128 corner as scratch for the glow. Needs the GL
// context current; main thread only.
#pragma once

#include "assets/eglbrush.h"
#include "assets/texture.h"
#include "core/scene.h"
#include "render/slimebrush.h"

class CSpikeScene : public CScene {
public:
    CSpikeScene();
    ~CSpikeScene() override;
    CSpikeScene(const CSpikeScene&) = delete;
    CSpikeScene& operator=(const CSpikeScene&) = delete;

    void init() override;
    void update() override;
    void draw(float* spectrum) override;

    CSlimeBrush* spikeSlime;
    CEGLBrush* roomMesh;
    CTexture* roomTex;
    CTexture* spikeBaseTex;
    CTexture* svTex;
    CTexture* glowTex;
    CTexture* jenteTex;
    CTexture* guttTex;

private:
    void drawGlowPass(const float* s);
    void drawRoom();
    void drawObject(const float* s);
    void drawOverlays(const float* s);
};
