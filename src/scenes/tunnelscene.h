// The fourth scene: a swinging camera looks down a spinning, scrolling tunnel seen from inside,
// fading into black fog, with a writhing two-layer box in front that pulses with the bass; a
// radial glow over the frame, a text picture from 12.5 s and six spectrum bars from 25.3 s of its
// own clock. Uses the frame's 128 by 128 corner as scratch for the glow. Needs the GL context
// current; main thread only.
#pragma once

#include <memory>

#include "assets/eglbrush.h"
#include "assets/texture.h"
#include "core/scene.h"
#include "render/slimebrush.h"

class CTunnelScene : public CScene {
public:
    CTunnelScene() = default;
    CTunnelScene(const CTunnelScene&) = delete;
    CTunnelScene& operator=(const CTunnelScene&) = delete;

    void init() override;
    void update() override;
    // Leaves fog off and the clear colour black with alpha 1.
    void draw(float* spectrum) override;

    // Declared last to first, so that they are released from tunnelMesh on.
    std::unique_ptr<CTexture> overlayTex;
    std::unique_ptr<CTexture> glowTex;
    std::unique_ptr<CTexture> svTex;
    std::unique_ptr<CTexture> test2Tex;
    std::unique_ptr<CTexture> sv2Tex;
    std::unique_ptr<CTexture> ruterTex;
    std::unique_ptr<CSlimeBrush> boxSlime;
    std::unique_ptr<CEGLBrush> tunnelMesh;

private:
    void placeCamera();
    void drawGlowPass(const float* s);
    void drawMainView(const float* s);
    void drawTunnel(double degreesPerSecond, double scrollPerSecond, CTexture& walls);
    void turnBox(CTexture& layer, double size);
    void drawOverlays(const float* s);
};
