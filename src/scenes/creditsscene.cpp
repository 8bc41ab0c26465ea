#include "scenes/creditsscene.h"

#include <cmath>

#include "core/show.h"
#include "fixedgl/gl.h"
#include "render/overlay.h"
#include "scenes/sceneassets.h"

namespace {

// The large picture in turn: the logo, the party picture, then the title.
const double kLogoEnd = 12.7;
const double kPartyPictureEnd = 25.1;
const double kTitleEnd = 38.4;

// Where each credit picture stands and from when; all stay until the scene ends.
struct Credit {
    double from;
    int x, y;
    std::unique_ptr<CTexture> CCreditsScene::*texture;
};

const Credit kCredits[] = {
    {38.2, 400, 300, &CCreditsScene::musicTex},   {41.3, 100, 70, &CCreditsScene::codingTex},
    {44.2, 50, 310, &CCreditsScene::tolviTex},    {44.2, 480, 10, &CCreditsScene::briselTex},
    {44.2, 320, 190, &CCreditsScene::quanderTex},
};

}  // namespace

void CCreditsScene::init() {
    logoTex = loadTexture("data/textures/logo.jpg");
    nor04Tex = loadTexture("data/textures/nor04.jpg");
    titleTex = loadTexture("data/textures/title.jpg");
    musicTex = loadTexture("data/textures/music.jpg");
    codingTex = loadTexture("data/textures/coding.jpg");
    tolviTex = loadTexture("data/textures/tolvi.jpg");
    quanderTex = loadTexture("data/textures/quander.jpg");
    briselTex = loadTexture("data/textures/brisel.jpg");
}

// Every picture is added with one colour whose alpha follows bands 1 to 3; GL clamps it to 1.
void CCreditsScene::draw(float* s) {
    glLoadIdentity();
    glPushMatrix();
    beginOrtho(kFrameWidth, kFrameHeight);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glColor4f(1, 1, 1, static_cast<float>((static_cast<double>(s[1]) + s[2] + s[3]) * 3));
    double t = localTime;
    int dx = static_cast<int>((std::sin(0.2 * t) + s[4]) * 40);
    int dy = static_cast<int>((std::cos(0.25 * t) + s[4]) * 40);
    drawLargePicture(dx, dy);
    drawCredits();
    endOrtho();
    glDisable(GL_BLEND);
    glPopMatrix();
}

// The windows are closed at both ends and tested in order: a shared boundary shows the earlier.
void CCreditsScene::drawLargePicture(int dx, int dy) {
    double t = localTime;
    const CTexture* picture = nullptr;
    if (t >= 0 && t <= kLogoEnd)
        picture = logoTex.get();
    else if (t >= kLogoEnd && t <= kPartyPictureEnd)
        picture = nor04Tex.get();
    else if (t >= kPartyPictureEnd && t <= kTitleEnd)
        picture = titleTex.get();
    if (picture != nullptr)
        drawTexturedQuad(kCentredPictureX + dx, kCentredPictureY + dy, kCentredPictureSize,
                         kCentredPictureSize, picture->id);
}

void CCreditsScene::drawCredits() {
    double t = localTime;
    for (const Credit& credit : kCredits)
        if (t >= credit.from && t <= duration)
            drawTexturedQuad(credit.x, credit.y, 256, 256, (this->*credit.texture)->id);
}
