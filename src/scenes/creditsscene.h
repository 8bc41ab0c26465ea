// The first scene: a flat slideshow over the black frame (logo, second picture, title, then five
// credit pictures), added to the frame at an opacity driven by the low spectrum bands. Holds no
// state between frames but its textures. Needs the GL context current; main thread only.
#pragma once

#include "assets/texture.h"
#include "core/scene.h"

class CCreditsScene : public CScene {
public:
    CCreditsScene();
    ~CCreditsScene() override;
    CCreditsScene(const CCreditsScene&) = delete;
    CCreditsScene& operator=(const CCreditsScene&) = delete;

    void init() override;
    void draw(float* spectrum) override;

    CTexture* logoTex;
    CTexture* nor04Tex;
    CTexture* titleTex;
    CTexture* musicTex;
    CTexture* codingTex;
    CTexture* tolviTex;
    CTexture* briselTex;
    CTexture* quanderTex;

private:
    void drawLargePicture(int dx, int dy);
    void drawCredits();
};
