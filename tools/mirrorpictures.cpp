#include "mirrorpictures.h"

#include <algorithm>
#include <cmath>

#include "noise.h"
#include "painter.h"

namespace mirrorpictures {

namespace {

struct SLamp {
    float x, y, z;  // direction, need not be unit length
    float size;     // angular radius, roughly, in radians
    SColor colour;
};

SColor lamps(float x, float y, float z, const std::initializer_list<SLamp>& list) {
    SColor sum{0, 0, 0};
    for (const SLamp& lamp : list) {
        const float len = std::sqrt(lamp.x * lamp.x + lamp.y * lamp.y + lamp.z * lamp.z);
        const float cosine = (x * lamp.x + y * lamp.y + z * lamp.z) / len;
        const float angle = std::acos(std::clamp(cosine, -1.0f, 1.0f));
        sum = sum + lamp.colour * std::exp(-(angle * angle) / (lamp.size * lamp.size));
    }
    return sum;
}

// Sky above, ground below, a bright line where they meet. y is the reflected direction's height.
SColor horizon(float y, SColor zenith, SColor skyLow, SColor line, SColor groundHigh,
               SColor nadir) {
    if (y >= 0.0f) return mix(skyLow, zenith, std::pow(y, 0.6f)) + line * std::exp(-y * 40.0f);
    return mix(groundHigh, nadir, std::pow(-y, 0.5f)) + line * (0.6f * std::exp(y * 60.0f));
}

}  // namespace

CCanvas chrome() {
    CCanvas canvas(256, 256);
    const CNoise noise(51);
    paint::sphereMap(canvas, [&](float x, float y, float z) {
        SColor c = horizon(y, {0.2f, 0.35f, 0.75f}, {0.75f, 0.88f, 1.0f}, {1.0f, 1.0f, 1.0f},
                           {0.5f, 0.38f, 0.5f}, {0.12f, 0.08f, 0.15f});
        // Cloud streaks in the sky, reflections of a floor grid below.
        if (y > 0.0f)
            c = c + SColor{0.15f, 0.15f, 0.2f} *
                        std::max(0.0f, noise.fbm(x * 3 / (y + 0.3f), z * 3, 3));
        if (y < -0.05f) {
            const float gx = x / -y * 2.0f, gz = z / -y * 2.0f;
            const float line = std::max(std::exp(-std::pow((gx - std::round(gx)) * 12.0f, 2.0f)),
                                        std::exp(-std::pow((gz - std::round(gz)) * 12.0f, 2.0f)));
            c = c + SColor{0.1f, 0.3f, 0.5f} * (line * std::min(1.0f, -y * 4.0f));
        }
        return c + lamps(x, y, z,
                         {{0.5f, 0.7f, 0.6f, 0.18f, {1.6f, 1.6f, 1.5f}},
                          {-0.7f, 0.35f, 0.5f, 0.12f, {1.2f, 1.3f, 1.5f}},
                          {0.0f, 0.2f, -1.0f, 0.5f, {0.2f, 0.4f, 0.8f}}});
    });
    return canvas;
}

CCanvas neon() {
    CCanvas canvas(256, 256);
    paint::sphereMap(canvas, [](float x, float y, float z) {
        SColor c = horizon(y, {0.0f, 0.0f, 0.02f}, {0.12f, 0.02f, 0.15f}, {1.0f, 0.2f, 0.8f},
                           {0.02f, 0.08f, 0.12f}, {0.0f, 0.0f, 0.0f});
        // A second, cyan band above the horizon and a few coloured lamps.
        c = c + SColor{0.1f, 0.8f, 1.0f} * std::exp(-std::pow((y - 0.45f) * 14.0f, 2.0f));
        return c + lamps(x, y, z,
                         {{0.3f, 0.8f, 0.5f, 0.15f, {0.6f, 0.9f, 1.2f}},
                          {-0.6f, -0.2f, 0.7f, 0.2f, {1.0f, 0.3f, 0.9f}}});
    });
    return canvas;
}

CCanvas sunset() {
    CCanvas canvas(256, 256);
    const CNoise noise(53);
    paint::sphereMap(canvas, [&](float x, float y, float z) {
        SColor c = horizon(y, {0.15f, 0.05f, 0.3f}, {1.0f, 0.5f, 0.2f}, {1.0f, 0.9f, 0.6f},
                           {0.3f, 0.12f, 0.08f}, {0.05f, 0.02f, 0.04f});
        if (y > 0.05f)
            c = c + SColor{0.3f, 0.12f, 0.2f} *
                        std::max(0.0f, noise.fbm(x * 2 / (y + 0.2f), z * 2 / (y + 0.2f), 3));
        return c + lamps(x, y, z,
                         {{0.2f, 0.15f, 0.9f, 0.16f, {2.0f, 1.5f, 0.8f}},
                          {-0.5f, 0.6f, 0.4f, 0.1f, {1.0f, 0.9f, 0.8f}}});
    });
    return canvas;
}

}  // namespace mirrorpictures
