// The third scene: a writhing, sphere-mapped spike object inside a tumbling room, pushed by the
// lowest band, with a radial glow over the frame and two faint pictures at the sides that move
// with the third band. Uses the frame's 128 by 128 corner as scratch for the glow. Needs the GL
// context current; main thread only.
#pragma once

#include <memory>

#include "assets/eglbrush.h"
#include "assets/texture.h"
#include "core/scene.h"
#include "render/slimebrush.h"

class CSpikeScene : public CScene {
public:
    CSpikeScene() = default;
    CSpikeScene(const CSpikeScene&) = delete;
    CSpikeScene& operator=(const CSpikeScene&) = delete;

    void init() override;
    void update() override;
    void draw(float* spectrum) override;

    // Declared last to first, so that they are released from spikeSlime on.
    std::unique_ptr<CTexture> guttTex;
    std::unique_ptr<CTexture> jenteTex;
    std::unique_ptr<CTexture> glowTex;
    std::unique_ptr<CTexture> svTex;
    std::unique_ptr<CTexture> spikeBaseTex;
    std::unique_ptr<CTexture> roomTex;
    std::unique_ptr<CEGLBrush> roomMesh;
    std::unique_ptr<CSlimeBrush> spikeSlime;

private:
    void drawGlowPass(const float* s);
    void drawRoom();
    void drawObject(const float* s);
    void drawOverlays(const float* s);
};
