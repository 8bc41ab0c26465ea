#include "surfacepictures.h"

#include <algorithm>
#include <cmath>

#include "noise.h"
#include "painter.h"

namespace surfacepictures {

namespace {

// Distance in pixels to the nearest of the lines every `spacing` pixels (a line at 0).
float gridDistance(float p, float spacing) {
    const float m = std::fmod(p, spacing);
    return std::min(m, spacing - m);
}

float smooth(float edge0, float edge1, float x) {
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

}  // namespace

CCanvas particle() {
    CCanvas canvas(64, 64);
    canvas.fill([](float u, float v) {
        const float r = std::hypot(u - 0.5f, v - 0.5f) * 64.0f;
        const float core = std::exp(-(r * r) / 18.0f);
        const float halo = std::exp(-r / 6.5f) * 0.55f;
        const float fade = 1.0f - smooth(24.0f, 31.5f, r);
        return (SColor{1.0f, 1.0f, 1.0f} * core + SColor{0.75f, 0.85f, 1.0f} * halo) * fade;
    });
    return canvas;
}

CCanvas floorGrid() {
    CCanvas canvas(256, 256);
    CMask lines(256, 256);
    lines.fill([](float x, float y) {
        const float major = std::min(gridDistance(x, 64), gridDistance(y, 64)) - 1.2f;
        const float minor = std::min(gridDistance(x, 16), gridDistance(y, 16)) - 0.3f;
        return std::max(paint::coverage(major), 0.35f * paint::coverage(minor));
    });
    paint::glowingShape(
        canvas, lines,
        [](float, float) {
            return SColor{0.55f, 0.95f, 1.0f};
        },
        {0.1f, 0.5f, 1.0f}, 3, 0.9f, true);
    // Brighter knots where the major lines cross.
    for (int j = 0; j <= 4; ++j)
        for (int i = 0; i <= 4; ++i)
            paint::softLight(canvas, i * 64.0f, j * 64.0f, 6, {0.6f, 0.9f, 1.0f});
    return canvas;
}

CCanvas floorGloss() {
    CCanvas canvas(256, 256);
    const CNoise noise(21), warp(22);
    canvas.fill([&](float u, float v) {
        const float wx = warp.fbm(u * 4, v * 4, 3, 4) * 0.6f;
        const float n = noise.fbm(u * 4 + wx, v * 4 - wx, 4, 4);
        const float ridge = std::pow(1.0f - std::min(1.0f, std::abs(n) * 3.0f), 5.0f);
        const float depth = 0.5f + 0.5f * noise.at(u * 2, v * 2, 2);
        const SColor deep = mix(SColor{0.05f, 0.02f, 0.15f}, SColor{0.02f, 0.08f, 0.2f}, depth);
        return deep + mix(SColor{0.5f, 0.2f, 1.0f}, SColor{0.3f, 0.9f, 1.0f}, depth) * ridge;
    });
    return canvas;
}

CCanvas roomWalls() {
    CCanvas canvas(256, 256);
    const CNoise noise(31);
    canvas.fill([&](float u, float v) {
        const float x = u * 256, y = v * 256;
        const float px = std::fmod(x, 64.0f), py = std::fmod(y, 64.0f);
        const float seam = std::min(gridDistance(x, 64), gridDistance(y, 64));
        const float brushed = 0.5f + 0.5f * noise.fbm(u * 2, v * 32, 3, 2);
        const float panel =
            0.16f + 0.08f * brushed + 0.05f * hashUnit(int(x / 64), int(y / 64), 32);
        // A bevel: light on the upper and left edges, shade on the lower and right.
        const float bevel = (px < 5 || py < 5 ? 0.12f : 0.0f) - (px > 59 || py > 59 ? 0.08f : 0.0f);
        const float lit =
            std::max(0.0f, panel + bevel) * (1.0f - paint::coverage(seam - 2.0f) * 0.85f);
        return SColor{lit * 1.1f, lit * 1.25f, lit * 1.6f};
    });
    // Small lamps where the seams cross.
    for (int j = 0; j <= 4; ++j)
        for (int i = 0; i <= 4; ++i)
            paint::softLight(canvas, i * 64.0f, j * 64.0f, 5, {0.9f, 0.5f, 0.2f});
    return canvas;
}

CCanvas tunnelWalls() {
    CCanvas canvas(256, 256);
    const CNoise noise(41);
    CMask edges(256, 256);
    edges.fill([](float x, float y) {
        const float inner = std::min(gridDistance(x + 16, 32), gridDistance(y + 16, 32));
        return paint::coverage(std::abs(inner - 13.0f) - 0.8f);
    });
    canvas.fill([&](float u, float v) {
        const int cx = int(u * 8), cy = int(v * 8);
        const bool odd = (cx + cy) % 2 != 0;
        const float glow = hashUnit(cx, cy, 42) > 0.8f ? 0.25f : 0.0f;
        const float grain = 0.03f * noise.fbm(u * 8, v * 8, 3, 8);
        const float base = (odd ? 0.1f : 0.05f) + grain;
        return SColor{base * 0.6f, base * 0.8f, base * 1.6f} + SColor{0.2f, 0.45f, 1.0f} * glow;
    });
    paint::glowingShape(
        canvas, edges,
        [](float, float) {
            return SColor{0.4f, 0.8f, 1.0f};
        },
        {0.1f, 0.4f, 1.0f}, 2.5f, 0.8f, true);
    return canvas;
}

CCanvas tunnelGlow() {
    CCanvas canvas(256, 256);
    CMask streaks(256, 256);
    streaks.fill([](float x, float y) {
        // Dashed lights along the tunnel (the t direction runs down the picture) and one ring.
        const float dash = std::fmod(y + (x > 128 ? 40.0f : 0.0f), 80.0f) < 44.0f ? 1.0f : 0.0f;
        const float along = paint::coverage(gridDistance(x + 32, 128) - 2.0f) * dash;
        const float ring = paint::coverage(gridDistance(y, 256) - 1.5f);
        return std::max(along, ring * 0.8f);
    });
    paint::glowingShape(
        canvas, streaks,
        [](float u, float) {
            return u < 0.5f ? SColor{1.0f, 0.5f, 0.9f} : SColor{0.5f, 0.9f, 1.0f};
        },
        {0.6f, 0.2f, 0.9f}, 4, 0.9f, true);
    return canvas;
}

}  // namespace surfacepictures
