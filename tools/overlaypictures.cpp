#include "overlaypictures.h"

#include <algorithm>
#include <cmath>

#include "noise.h"
#include "painter.h"
#include "textstyle.h"

namespace overlaypictures {

namespace {

const SColor kCyan{0.25f, 0.8f, 1.0f};
const SColor kMagenta{1.0f, 0.25f, 0.75f};
const SColor kOrange{1.0f, 0.55f, 0.2f};

// A bordered tile: a thick square frame with corner studs, and an ornament inside.
void tileFrame(CCanvas& canvas, SColor core, SColor glow) {
    paint::glowDistance(
        canvas,
        [](float x, float y) { return std::abs(paint::box(x, y, 128, 128, 104, 104)) - 5.0f; },
        core, glow, 5);
    for (int i = 0; i < 4; ++i) {
        const float cx = i % 2 ? 232 : 24, cy = i / 2 ? 232 : 24;
        paint::glowDistance(
            canvas, [=](float x, float y) { return paint::circle(x, y, cx, cy, 9); }, {1, 1, 1},
            glow, 6);
    }
}

}  // namespace

CCanvas greetings() {
    CCanvas canvas(512, 512);
    // The show lets the picture grow past the top of the screen: nothing in the top rows.
    drawText(
        canvas, "greetings", 34, 100,
        {"DejaVuSans-Bold.ttf", 60, 2, chrome(56, 100, 512, kMagenta, kOrange), kMagenta, 6, 0.9f},
        false);
    paint::glowDistance(
        canvas, [](float x, float y) { return paint::segment(x, y, 36, 118, 330, 118) - 1.0f; },
        {1.0f, 0.7f, 0.9f}, kMagenta, 4);
    const char* groups[] = {"kvantehus",    "pixelfjord",  "neon harbour",  "copperline",
                            "the ninefold", "polarhaus",   "syntagma crew", "driftwood",
                            "lazerkatt",    "glimmerfold", "zenith pulse",  "ostinato"};
    for (int i = 0; i < 12; ++i) {
        const float baseline = 160 + i * 29.0f;
        const SColor tint = mix(kCyan, kMagenta, i / 11.0f);
        paint::glowDistance(
            canvas, [=](float x, float y) { return paint::circle(x, y, 46, baseline - 7, 3); },
            {1, 1, 1}, tint, 3);
        drawText(canvas, groups[i], 62, baseline,
                 {"DejaVuSans.ttf", 24, 1, flat(mix(tint, {1, 1, 1}, 0.6f)), tint, 3, 0.6f}, false);
    }
    return canvas;
}

CCanvas tunnelText() {
    CCanvas canvas(512, 512);
    // The right tenth stays empty: the show stretches this picture past the screen's edge.
    drawText(canvas, "ON", 300, 190,
             {"DejaVuSans-Bold.ttf", 150, 6, flat({0.05f, 0.1f, 0.2f}), kCyan, 5, 0.6f});
    paint::glowDistance(
        canvas, [](float x, float y) { return paint::segment(x, y, 30, 330, 30, 480) - 1.5f; },
        {0.8f, 1.0f, 1.0f}, kCyan, 4);
    drawText(canvas, "sunderline", 48, 392,
             {"DejaVuSans-Bold.ttf", 58, 1, chrome(350, 392, 512, kCyan, kMagenta), kCyan, 6, 0.9f},
             false);
    drawText(canvas, "demo edit", 50, 432,
             {"DejaVuSansMono.ttf", 22, 6, flat({0.8f, 0.9f, 1.0f}), kMagenta, 3, 0.6f}, false);
    drawText(canvas, "tarvok  152 bpm", 50, 468,
             {"DejaVuSansMono.ttf", 16, 3, flat({0.6f, 0.7f, 0.9f}), kCyan, 2, 0.5f}, false);
    return canvas;
}

CCanvas warmTile() {
    CCanvas canvas(256, 256);
    tileFrame(canvas, {1.0f, 0.8f, 0.7f}, kMagenta);
    // An eight-petal rose around a bright heart.
    paint::glowDistance(
        canvas,
        [](float x, float y) {
            const float dx = x - 128, dy = y - 128;
            const float r = std::hypot(dx, dy), a = std::atan2(dy, dx);
            const float petal = 78.0f * std::abs(std::cos(4.0f * a));
            return std::abs(r - petal * 0.5f - 12.0f) - 0.28f * petal + 2.0f;
        },
        {1.0f, 0.6f, 0.4f}, kOrange, 6);
    paint::glowDistance(
        canvas, [](float x, float y) { return paint::circle(x, y, 128, 128, 14); }, {1, 1, 0.9f},
        kMagenta, 8);
    return canvas;
}

CCanvas coolTile() {
    CCanvas canvas(256, 256);
    tileFrame(canvas, {0.7f, 0.9f, 1.0f}, kCyan);
    // A compass star inside a diamond.
    paint::glowDistance(
        canvas,
        [](float x, float y) { return std::abs(paint::polygon(x, y, 128, 128, 80, 4, 0)) - 4.0f; },
        {0.8f, 0.95f, 1.0f}, kCyan, 5);
    paint::glowDistance(
        canvas,
        [](float x, float y) {
            const float dx = std::abs(x - 128), dy = std::abs(y - 128);
            const float star = std::min(dx * 0.25f + dy, dy * 0.25f + dx);
            return star - 16.0f;
        },
        {0.6f, 0.8f, 1.0f}, {0.2f, 0.4f, 1.0f}, 6);
    return canvas;
}

CCanvas endBackground() {
    CCanvas canvas(512, 512);
    const CNoise noise(61), warp(62);
    canvas.fill([&](float u, float v) {
        // Curtains of an aurora, brightest low in the picture.
        const float bend = warp.fbm(u * 3, v * 1.5f, 3) * 0.5f;
        const float band = std::exp(-std::pow((v - 0.62f - bend * 0.3f) * 5.0f, 2.0f));
        const float rays = 0.5f + 0.5f * noise.fbm(u * 18 + bend * 6, v * 1.2f, 4);
        const float hue = 0.5f + 0.5f * std::sin(u * 5.0f + bend * 4.0f);
        const SColor colour = mix(SColor{0.1f, 0.9f, 0.6f}, SColor{0.6f, 0.2f, 1.0f}, hue);
        return colour * (band * rays * rays * 1.8f) + SColor{0.03f, 0.02f, 0.08f} * (1.0f - v);
    });
    paint::stars(canvas, 220, 63, 0.7f);
    paint::vignette(canvas, 0.5f, 1.0f);
    return canvas;
}

CCanvas theEnd() {
    CCanvas canvas(512, 512);
    paint::softLight(canvas, 256, 240, 150, {0.08f, 0.05f, 0.12f});
    paint::stars(canvas, 90, 71, 0.5f);
    drawText(canvas, "the end", 256, 262,
             {"DejaVuSerif-Bold.ttf", 86, 2, chrome(198, 262, 512, {1.0f, 0.8f, 0.5f}, kOrange),
              kOrange, 7, 0.9f});
    paint::glowDistance(
        canvas, [](float x, float y) { return paint::segment(x, y, 150, 292, 362, 292) - 1.0f; },
        {1.0f, 0.85f, 0.7f}, kOrange, 4);
    drawText(canvas, "vexmoro", 256, 336,
             {"DejaVuSans-Bold.ttf", 30, 12, flat({0.8f, 0.9f, 1.0f}), kCyan, 4, 0.7f});
    drawText(canvas, "lumenfall at norvakt 2004", 256, 372,
             {"DejaVuSansMono.ttf", 14, 2, flat({0.6f, 0.65f, 0.8f}), kCyan, 2, 0.4f});
    drawText(canvas, "thanks for watching", 256, 440,
             {"DejaVuSansMono.ttf", 14, 4, flat({0.5f, 0.5f, 0.6f}), kMagenta, 2, 0.3f});
    paint::vignette(canvas, 0.6f, 1.0f);
    return canvas;
}

}  // namespace overlaypictures
