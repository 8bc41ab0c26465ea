#include "render/glowblur.h"
#include "core/show.h"

#include <vector>

#include "assets/texture.h"
#include "support/glfixture.h"

namespace {

const int N = kGlowSize;

// The glow texture filled with known texels, blurred in the corner as the scenes do it.
class GlowBlur : public GLFixture {
protected:
    // `texels`: N * N grey levels, bottom row first.
    void blur(const std::vector<unsigned char>& texels) {
        glow.createEmpty(N);
        std::vector<unsigned char> rgb;
        for (unsigned char level : texels) rgb.insert(rgb.end(), {level, level, level});
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, N, N, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        glColor4f(1, 1, 1, 1);
        glViewport(0, 0, N, N);
        blurGlow(glow.id);
        glViewport(0, 0, kFrameWidth, kFrameHeight);
        result.resize(N * N * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glBindTexture(GL_TEXTURE_2D, glow.id);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, result.data());
    }
    int texel(int x, int y) const { return result[(y * N + x) * 3]; }

    CTexture glow;
    std::vector<unsigned char> result;
};

// Each pass adds 0.35 of the texture onto the corner, which still holds the previous pass: after
// the first pass (onto the cleared frame) 0.35 of the picture, then 1.35 times more per copy.
TEST_F(GlowBlur, EveryCopyAddsTheStatedShareOntoTheLastOne) {
    glClearColor(0, 0, 0, 1);
    blur(std::vector<unsigned char>(N * N, 100));
    double expected = 100 * 0.35;
    for (int pass = 1; pass < 6; ++pass) expected *= 1.35;
    for (auto [x, y] : {std::pair{0, 0}, {64, 64}, {127, 127}, {10, 100}})
        EXPECT_NEAR(texel(x, y), expected, 8) << x << "," << y;  // each addition rounds
    // The last pass is what the texture holds; the squares larger than the corner stay in it.
    std::vector<unsigned char> corner(N * N * 3);
    glReadPixels(0, 0, N, N, GL_RGB, GL_UNSIGNED_BYTE, corner.data());
    EXPECT_EQ(corner, result);
    for (auto [x, y] : {std::pair{128, 64}, {136, 64}, {64, 128}, {64, 136}, {136, 136}})
        EXPECT_EQ(pixel(x, y), (std::array<int, 4>{0, 0, 0, 255})) << x << "," << y;
}

// The copies grow about the corner's centre (64, 64): a bright texel right of it spreads to the
// right along its row and never toward the centre or off its row.
TEST_F(GlowBlur, BrightTexelIsSmearedAwayFromTheCentre) {
    std::vector<unsigned char> texels(N * N, 0);
    texels[64 * N + 100] = 255;
    blur(texels);
    for (int x : {100, 104, 108}) EXPECT_GT(texel(x, 64), 0) << x;
    for (int x : {60, 90, 99, 120}) EXPECT_EQ(texel(x, 64), 0) << x;
    for (int y : {62, 67}) EXPECT_EQ(texel(104, y), 0) << y;
}

}  // namespace
