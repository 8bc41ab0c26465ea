// The first scene: a flat slideshow over the black frame (logo, second picture, title, then five
// credit pictures), added to the frame at an opacity driven by the low spectrum bands. Holds no
// state between frames but its textures. Needs the GL context current; main thread only.
#pragma once

#include <memory>

#include "assets/texture.h"
#include "core/scene.h"

class CCreditsScene : public CScene {
public:
    CCreditsScene() = default;
    CCreditsScene(const CCreditsScene&) = delete;
    CCreditsScene& operator=(const CCreditsScene&) = delete;

    void init() override;
    void draw(float* spectrum) override;

    // Declared last to first, so that they are released from logoTex on.
    std::unique_ptr<CTexture> quanderTex;
    std::unique_ptr<CTexture> briselTex;
    std::unique_ptr<CTexture> tolviTex;
    std::unique_ptr<CTexture> codingTex;
    std::unique_ptr<CTexture> musicTex;
    std::unique_ptr<CTexture> titleTex;
    std::unique_ptr<CTexture> nor04Tex;
    std::unique_ptr<CTexture> logoTex;

private:
    void drawLargePicture(int dx, int dy);
    void drawCredits();
};
