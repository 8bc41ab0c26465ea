#include "creditpictures.h"

#include <cmath>

#include "noise.h"
#include "painter.h"
#include "textstyle.h"

namespace creditpictures {

namespace {

const float kPi = 3.14159265f;
const SColor kCyan{0.25f, 0.8f, 1.0f};
const SColor kMagenta{1.0f, 0.25f, 0.75f};
const SColor kGold{1.0f, 0.7f, 0.25f};

// A dim backdrop that fades to black well before the edges, so that the picture can be
// added onto a black frame without showing its square.
void backdrop(CCanvas& canvas, SColor centre, unsigned starSeed) {
    const float s = canvas.width();
    paint::softLight(canvas, s * 0.5f, s * 0.45f, s * 0.38f, centre);
    paint::stars(canvas, canvas.width() / 4, starSeed, 0.5f);
    paint::vignette(canvas, 0.55f, 0.98f);
}

float ring(float x, float y, float cx, float cy, float r, float width) {
    return std::abs(paint::circle(x, y, cx, cy, r)) - width / 2.0f;
}

}  // namespace

CCanvas loading() {
    CCanvas canvas(512, 512);
    backdrop(canvas, {0.06f, 0.08f, 0.2f}, 11);
    drawText(
        canvas, "vexmoro", 256, 272,
        {"DejaVuSans-Bold.ttf", 92, 2, chrome(206, 272, 512, kCyan, kMagenta), kCyan, 6, 0.9f});
    drawText(canvas, "loading", 262, 334,
             {"DejaVuSansMono.ttf", 20, 9, flat({0.7f, 0.9f, 1.0f}), kCyan, 3, 0.8f});
    paint::glowDistance(
        canvas, [](float x, float y) { return paint::segment(x, y, 150, 360, 362, 360) - 1.0f; },
        {0.6f, 0.85f, 1.0f}, kCyan, 4);
    paint::glowDistance(
        canvas, [](float x, float y) { return paint::circle(x, y, 214, 360, 3.5f); }, {1, 1, 1},
        kCyan, 6);
    drawText(canvas, "lumenfall  2004", 256, 470,
             {"DejaVuSansMono.ttf", 12, 3, flat({0.4f, 0.45f, 0.6f}), {0, 0, 0}, 1, 0});
    return canvas;
}

CCanvas logo() {
    CCanvas canvas(512, 512);
    backdrop(canvas, {0.16f, 0.09f, 0.03f}, 12);
    const float cx = 256, cy = 200;
    // A ring broken into twelve arcs around three falling beams of light.
    paint::glowDistance(
        canvas,
        [=](float x, float y) {
            const float a = std::atan2(y - cy, x - cx) / (2 * kPi) * 12.0f;
            const float gap = std::abs(a - std::round(a)) * 2 * kPi * 118.0f / 12.0f - 5.0f;
            return std::max(ring(x, y, cx, cy, 118, 9), -gap);
        },
        {1.0f, 0.85f, 0.55f}, kGold, 7);
    for (int i = -1; i <= 1; ++i) {
        const float bx = cx + i * 38.0f, length = 70.0f - std::abs(i) * 26.0f;
        paint::glowDistance(
            canvas,
            [=](float x, float y) {
                return paint::box(x, y, bx, cy - 10 + std::abs(i) * 14.0f, 9, length) - 6.0f;
            },
            mix(SColor{1, 1, 1}, kGold, 0.3f), kGold, 10);
    }
    paint::glowDistance(
        canvas, [=](float x, float y) { return paint::circle(x, y, cx, cy + 84, 7); }, {1, 1, 1},
        {1.0f, 0.9f, 0.6f}, 12);
    drawText(canvas, "LUMENFALL", 256, 392,
             {"DejaVuSans-Bold.ttf", 56, 7, chrome(350, 392, 512, kGold, {0.9f, 0.35f, 0.1f}),
              kGold, 5, 0.8f});
    drawText(canvas, "presents", 256, 436,
             {"DejaVuSansMono.ttf", 18, 8, flat({0.9f, 0.75f, 0.55f}), kGold, 3, 0.5f});
    return canvas;
}

CCanvas partyEmblem() {
    CCanvas canvas(512, 512);
    backdrop(canvas, {0.03f, 0.12f, 0.16f}, 13);
    const float cx = 256, cy = 250;
    paint::glowDistance(
        canvas,
        [=](float x, float y) {
            return std::abs(paint::polygon(x, y, cx, cy, 196, 6, kPi / 2)) - 4.0f;
        },
        {0.7f, 1.0f, 1.0f}, kCyan, 8);
    paint::glowDistance(
        canvas,
        [=](float x, float y) {
            return std::abs(paint::polygon(x, y, cx, cy, 178, 6, kPi / 2)) - 1.0f;
        },
        {0.4f, 0.8f, 0.9f}, kCyan, 3);
    drawText(canvas, "NOR", 256, 240,
             {"DejaVuSans-Bold.ttf", 110, 4, chrome(160, 240, 512, kCyan, {0.1f, 0.5f, 0.9f}),
              kCyan, 6, 0.7f});
    drawText(canvas, "04", 256, 360,
             {"DejaVuSans-Bold.ttf", 120, 10, chrome(272, 360, 512, kMagenta, {0.9f, 0.2f, 0.6f}),
              kMagenta, 8, 1.0f});
    drawText(canvas, "norvakt party", 256, 404,
             {"DejaVuSansMono.ttf", 17, 6, flat({0.75f, 0.95f, 1.0f}), kCyan, 3, 0.5f});
    return canvas;
}

CCanvas titleSky() {
    CCanvas canvas(512, 512);
    paint::stars(canvas, 160, 14, 0.6f);
    const float horizon = 300, sunY = 236;
    // A striped sun sinking behind the horizon.
    CMask sun(512, 512);
    sun.fill([=](float x, float y) {
        if (y > horizon) return 0.0f;
        const float stripe = std::fmod(horizon - y, 22.0f);
        const float gap = y > sunY - 20 ? (y - sunY + 20) / (horizon - sunY + 20) * 12.0f : 0.0f;
        return paint::coverage(paint::circle(x, y, 256, sunY, 120)) * paint::coverage(gap - stripe);
    });
    paint::glowingShape(canvas, sun,
                        paint::vertical({1.0f, 0.95f, 0.45f}, {1.0f, 0.5f, 0.2f},
                                        {0.95f, 0.15f, 0.55f}, 116, 300, 512),
                        {1.0f, 0.35f, 0.4f}, 16, 0.6f);
    // The perspective floor grid below the horizon.
    CMask grid(512, 512);
    grid.fill([=](float x, float y) {
        if (y < horizon) return 0.0f;
        // Lines `spacing` apart seen from height 1 with a focal length of 400 pixels: the row
        // `rows` below the horizon lies at depth 400 / rows, where one unit is `rows` pixels.
        const float spacing = 0.3f;
        const float rows = y - horizon + 1.0f;
        const float fz = 400.0f / rows / spacing, fx = (x - 256.0f) / rows / spacing;
        const float lineZ = std::abs(fz - std::round(fz)) * spacing * rows * rows / 400.0f;
        const float lineX = std::abs(fx - std::round(fx)) * spacing * rows;
        return std::max(paint::coverage(lineX - 0.6f), paint::coverage(lineZ - 0.6f)) *
               std::pow(std::min(1.0f, (y - horizon) / 120.0f), 2.0f);
    });
    paint::glowingShape(canvas, grid, flat({1.0f, 0.4f, 0.9f}), kMagenta, 3, 0.8f);
    return canvas;
}

CCanvas title() {
    CCanvas canvas = titleSky();
    drawText(canvas, "vexmoro", 256, 330,
             {"DejaVuSans-Bold.ttf", 84, 3, chrome(268, 330, 512, kCyan, {0.2f, 0.3f, 1.0f}), kCyan,
              7, 0.9f});
    drawText(canvas, "a realtime dream in five scenes", 256, 84,
             {"DejaVuSansMono.ttf", 15, 2, flat({0.85f, 0.8f, 1.0f}), kMagenta, 3, 0.6f});
    paint::vignette(canvas, 0.6f, 1.0f);
    return canvas;
}

CCanvas musicCredit() {
    CCanvas canvas(256, 256);
    paint::softLight(canvas, 128, 120, 80, {0.1f, 0.03f, 0.09f});
    drawText(canvas, "music", 128, 70,
             {"DejaVuSansMono.ttf", 16, 7, flat({0.6f, 0.9f, 1.0f}), kCyan, 2, 0.6f});
    drawText(canvas, "tarvok", 128, 136,
             {"DejaVuSans-Bold.ttf", 50, 1, chrome(100, 136, 256, kMagenta, {1.0f, 0.3f, 0.6f}),
              kMagenta, 4, 0.9f});
    paint::glowDistance(
        canvas,
        [](float x, float y) {
            const float t = (x - 40.0f) / 176.0f;
            if (t < 0 || t > 1) return 99.0f;
            const float env = std::sin(t * kPi);
            const float wave = 178.0f + env * 16.0f * std::sin(t * 38.0f) * std::cos(t * 7.0f);
            return std::abs(y - wave) - 1.0f;
        },
        {1.0f, 0.7f, 0.9f}, kMagenta, 3);
    paint::vignette(canvas, 0.7f, 1.0f);
    return canvas;
}

CCanvas codeCredit() {
    CCanvas canvas(256, 256);
    paint::softLight(canvas, 128, 128, 80, {0.02f, 0.08f, 0.08f});
    const SColor green{0.3f, 1.0f, 0.7f};
    drawText(canvas, "code", 128, 52,
             {"DejaVuSansMono.ttf", 16, 7, flat({0.7f, 1.0f, 0.9f}), green, 2, 0.6f});
    const char* names[] = {"tolvi", "brisel", "quander"};
    for (int i = 0; i < 3; ++i)
        drawText(canvas, names[i], 128, 104 + i * 46.0f,
                 {"DejaVuSans-Bold.ttf", 36, 1,
                  chrome(74 + i * 46.0f, 104 + i * 46.0f, 256, green, {0.1f, 0.7f, 0.9f}), green, 4,
                  0.7f});
    drawText(canvas, "{ }", 128, 236,
             {"DejaVuSansMono-Bold.ttf", 18, 4, flat({0.5f, 0.8f, 0.7f}), green, 2, 0.5f});
    paint::vignette(canvas, 0.7f, 1.0f);
    return canvas;
}

namespace {

// An eye inside a triangle.
void tolviEmblem(CCanvas& canvas) {
    paint::glowDistance(
        canvas,
        [](float x, float y) {
            return std::abs(paint::polygon(x, y, 128, 104, 78, 3, -kPi / 2)) - 3.0f;
        },
        {0.8f, 1.0f, 1.0f}, kCyan, 5);
    paint::glowDistance(
        canvas,
        [](float x, float y) {
            const float lid =
                std::max(paint::circle(x, y, 128, 80, 46), paint::circle(x, y, 128, 148, 46));
            return std::abs(lid) - 2.0f;
        },
        {0.8f, 1.0f, 1.0f}, kCyan, 4);
    paint::glowDistance(
        canvas, [](float x, float y) { return paint::circle(x, y, 128, 114, 9); }, {1, 1, 1}, kCyan,
        8);
}

// A sun of sixteen rays around a ring.
void briselEmblem(CCanvas& canvas) {
    paint::glowDistance(
        canvas, [](float x, float y) { return ring(x, y, 128, 104, 34, 5); }, {1.0f, 0.9f, 0.6f},
        kGold, 5);
    paint::glowDistance(
        canvas,
        [](float x, float y) {
            float d = 99.0f;
            for (int i = 0; i < 16; ++i) {
                const float a = i * kPi / 8.0f, r0 = 46.0f, r1 = i % 2 ? 66.0f : 84.0f;
                d = std::min(d, paint::segment(x, y, 128 + r0 * std::cos(a), 104 + r0 * std::sin(a),
                                               128 + r1 * std::cos(a), 104 + r1 * std::sin(a)) -
                                    2.5f);
            }
            return d;
        },
        {1.0f, 0.8f, 0.4f}, {1.0f, 0.45f, 0.1f}, 5);
    paint::glowDistance(
        canvas, [](float x, float y) { return paint::circle(x, y, 128, 104, 14); }, {1, 1, 0.9f},
        kGold, 10);
}

// An isometric cube in outline.
void quanderEmblem(CCanvas& canvas) {
    const float cx = 128, cy = 104, r = 72;
    paint::glowDistance(
        canvas,
        [=](float x, float y) {
            float d = std::abs(paint::polygon(x, y, cx, cy, r, 6, kPi / 6)) - 2.5f;
            for (int i = 0; i < 3; ++i) {
                const float a = kPi / 6 + i * 2 * kPi / 3 + kPi / 3;
                d = std::min(
                    d, paint::segment(x, y, cx, cy, cx + r * std::cos(a), cy + r * std::sin(a)) -
                           2.5f);
            }
            return d;
        },
        {1.0f, 0.8f, 1.0f}, kMagenta, 5);
    paint::glowDistance(
        canvas, [=](float x, float y) { return paint::circle(x, y, cx, cy, 6); }, {1, 1, 1},
        kMagenta, 8);
}

}  // namespace

CCanvas portrait(int who) {
    CCanvas canvas(256, 256);
    const SColor tints[] = {kCyan, kGold, kMagenta};
    paint::softLight(canvas, 128, 104, 70, tints[who] * 0.12f);
    if (who == 0) tolviEmblem(canvas);
    if (who == 1) briselEmblem(canvas);
    if (who == 2) quanderEmblem(canvas);
    const char* names[] = {"tolvi", "brisel", "quander"};
    drawText(canvas, names[who], 128, 226,
             {"DejaVuSans-Bold.ttf", 32, 2, chrome(202, 226, 256, tints[who], tints[who]),
              tints[who], 4, 0.7f});
    paint::vignette(canvas, 0.75f, 1.02f);
    return canvas;
}

}  // namespace creditpictures
