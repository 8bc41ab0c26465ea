#include "painter.h"

#include <algorithm>
#include <cmath>

#include "noise.h"

namespace paint {

float coverage(float d) {
    return std::clamp(0.5f - d, 0.0f, 1.0f);
}

Gradient vertical(SColor a, SColor b, SColor c, float top, float bottom, int height) {
    return [=](float, float v) {
        const float t = std::clamp((v * height - top) / (bottom - top), 0.0f, 1.0f);
        return t < 0.5f ? mix(a, b, t * 2.0f) : mix(b, c, t * 2.0f - 1.0f);
    };
}

void glowingShape(CCanvas& canvas, const CMask& mask, const Gradient& fill, SColor glow,
                  float sigma, float strength, bool wrap) {
    canvas.addMask(mask.blurred(sigma * 3.0f, wrap), glow * (strength * 0.6f));
    canvas.addMask(mask.blurred(sigma, wrap), glow * strength);
    canvas.paintMask(mask, fill);
}

void glowDistance(CCanvas& canvas, const std::function<float(float x, float y)>& distance,
                  SColor core, SColor glow, float sigma) {
    CMask mask(canvas.width(), canvas.height());
    mask.fill([&](float x, float y) { return coverage(distance(x, y)); });
    glowingShape(
        canvas, mask, [=](float, float) { return core; }, glow, sigma, 1.0f);
}

void shadow(CCanvas& canvas, const CMask& mask, int dx, int dy, float sigma, float strength) {
    const CMask soft = mask.blurred(sigma);
    canvas.multiply([&](float u, float v) {
        const int x = int(u * canvas.width()) - dx, y = int(v * canvas.height()) - dy;
        if (x < 0 || y < 0 || x >= soft.width() || y >= soft.height()) return 1.0f;
        return 1.0f - std::clamp(soft.at(x, y) * strength, 0.0f, 1.0f);
    });
}

void softLight(CCanvas& canvas, float cx, float cy, float radius, SColor colour) {
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const float dx = (x + 0.5f - cx) / radius, dy = (y + 0.5f - cy) / radius;
            const float f = std::exp(-(dx * dx + dy * dy));
            if (f > 1e-4f) canvas.set(x, y, canvas.at(x, y) + colour * f);
        }
    }
}

void stars(CCanvas& canvas, int count, unsigned seed, float brightness) {
    for (int i = 0; i < count; ++i) {
        const float x = hashUnit(i, 1, seed) * canvas.width();
        const float y = hashUnit(i, 2, seed) * canvas.height();
        const float size = 0.6f + 1.4f * std::pow(hashUnit(i, 3, seed), 6.0f);
        const float tint = hashUnit(i, 4, seed);
        const SColor colour = mix(SColor{0.7f, 0.8f, 1.0f}, SColor{1.0f, 0.85f, 0.7f}, tint);
        const float b = brightness * (0.3f + 0.7f * hashUnit(i, 5, seed));
        for (int dy = -3; dy <= 3; ++dy)
            for (int dx = -3; dx <= 3; ++dx) {
                const int px = int(x) + dx, py = int(y) + dy;
                if (px < 0 || py < 0 || px >= canvas.width() || py >= canvas.height()) continue;
                const float rx = px + 0.5f - x, ry = py + 0.5f - y;
                const float f = std::exp(-(rx * rx + ry * ry) / (size * size));
                canvas.set(px, py, canvas.at(px, py) + colour * (b * f));
            }
    }
}

void vignette(CCanvas& canvas, float inner, float outer) {
    canvas.multiply([=](float u, float v) {
        const float r = std::hypot(u - 0.5f, v - 0.5f) * 2.0f;
        const float t = std::clamp((r - inner) / (outer - inner), 0.0f, 1.0f);
        return 1.0f - t * t * (3.0f - 2.0f * t);
    });
}

void sphereMap(CCanvas& canvas, const std::function<SColor(float x, float y, float z)>& env) {
    canvas.fill([&](float u, float v) {
        float nx = u * 2.0f - 1.0f, ny = 1.0f - v * 2.0f;
        const float len = std::hypot(nx, ny);
        if (len > 0.999f) {
            nx *= 0.999f / len;
            ny *= 0.999f / len;
        }
        const float nz = std::sqrt(std::max(0.0f, 1.0f - nx * nx - ny * ny));
        // Reflection of the view direction (0, 0, -1) about the normal.
        return env(2.0f * nz * nx, 2.0f * nz * ny, 2.0f * nz * nz - 1.0f);
    });
}

float circle(float x, float y, float cx, float cy, float r) {
    return std::hypot(x - cx, y - cy) - r;
}

float box(float x, float y, float cx, float cy, float hw, float hh) {
    const float dx = std::abs(x - cx) - hw, dy = std::abs(y - cy) - hh;
    return std::hypot(std::max(dx, 0.0f), std::max(dy, 0.0f)) + std::min(std::max(dx, dy), 0.0f);
}

float segment(float x, float y, float ax, float ay, float bx, float by) {
    const float px = x - ax, py = y - ay, ex = bx - ax, ey = by - ay;
    const float t = std::clamp((px * ex + py * ey) / (ex * ex + ey * ey), 0.0f, 1.0f);
    return std::hypot(px - ex * t, py - ey * t);
}

float polygon(float x, float y, float cx, float cy, float r, int sides, float turn) {
    const float pi = 3.14159265f;
    const float sector = 2.0f * pi / sides;
    float a = std::atan2(y - cy, x - cx) - turn - sector / 2.0f;
    a -= sector * std::floor(a / sector + 0.5f);  // angle from the nearest edge's normal
    const float d = std::hypot(x - cx, y - cy);
    return d * std::cos(a) - r * std::cos(sector / 2.0f);
}

}  // namespace paint
