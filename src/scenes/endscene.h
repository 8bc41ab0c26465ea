// The last scene: forty small squares drift right and spin about their own random axes under a
// background picture added over them, then a black veil falls and the closing picture fades in.
// Draws its random layout once, in init. Needs the GL context current; main thread only.
#pragma once

#include <memory>

#include "assets/eglbrush.h"
#include "assets/texture.h"
#include "core/scene.h"
#include "math/vector.h"

class CEndScene : public CScene {
public:
    static const int kSquares = 40;

    CEndScene();
    CEndScene(const CEndScene&) = delete;
    CEndScene& operator=(const CEndScene&) = delete;

    void init() override;
    void update() override;
    void draw(float* spectrum) override;

    CVector positions[kSquares];
    CVector axes[kSquares];
    // Declared last to first, so that they are released from quadMesh on.
    std::unique_ptr<CTexture> endTex;
    std::unique_ptr<CTexture> bgTex;
    std::unique_ptr<CTexture> guttTex;
    std::unique_ptr<CEGLBrush> quadMesh;
    // Opacities of the veil and of the closing picture: they only grow, one show long.
    float fadeAlpha;
    float endAlpha;

private:
    void placeSquares();
    void drawSquares();
    void drawBackground(const float* s);
    void drawVeil();
    void drawClosingPicture();
};
