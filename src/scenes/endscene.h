// The last scene: forty small squares drift right and spin about their own random axes under a
// background picture added over them, then a black veil falls and the closing picture fades in.
// Draws its random layout once, in init. Needs the GL context current; main thread only.
#pragma once

#include "assets/eglbrush.h"
#include "assets/texture.h"
#include "core/scene.h"
#include "math/vector.h"

class CEndScene : public CScene {
public:
    static const int kSquares = 40;

    CEndScene();
    ~CEndScene() override;
    CEndScene(const CEndScene&) = delete;
    CEndScene& operator=(const CEndScene&) = delete;

    void init() override;
    void update() override;
    void draw(float* spectrum) override;

    CEGLBrush* quadMesh;
    CTexture* guttTex;
    CTexture* bgTex;
    CTexture* endTex;
    CVector* positions;
    CVector* axes;
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
