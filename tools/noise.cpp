#include "noise.h"

#include <cmath>

uint32_t hash32(uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

float hashUnit(int a, int b, uint32_t seed) {
    return float(hash32(uint32_t(a) * 0x9e3779b1U ^ hash32(uint32_t(b) + seed * 0x85ebca6bU)) >>
                 8) /
           16777216.0f;
}

CNoise::CNoise(uint32_t seed) : seed(seed) {}

float CNoise::gradientDot(int ix, int iy, float dx, float dy, int period) const {
    if (period > 0) {
        ix = ((ix % period) + period) % period;
        iy = ((iy % period) + period) % period;
    }
    const float angle = hashUnit(ix, iy, seed) * 6.28318531f;
    return std::cos(angle) * dx + std::sin(angle) * dy;
}

float CNoise::at(float x, float y, int period) const {
    const float fx = std::floor(x), fy = std::floor(y);
    const int ix = int(fx), iy = int(fy);
    const float dx = x - fx, dy = y - fy;
    auto fade = [](float t) { return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f); };
    const float u = fade(dx), v = fade(dy);
    const float a = gradientDot(ix, iy, dx, dy, period);
    const float b = gradientDot(ix + 1, iy, dx - 1.0f, dy, period);
    const float c = gradientDot(ix, iy + 1, dx, dy - 1.0f, period);
    const float d = gradientDot(ix + 1, iy + 1, dx - 1.0f, dy - 1.0f, period);
    const float top = a + (b - a) * u;
    const float bottom = c + (d - c) * u;
    return 1.41421356f * (top + (bottom - top) * v);
}

float CNoise::fbm(float x, float y, int octaves, int period) const {
    float sum = 0.0f, weight = 0.5f, norm = 0.0f;
    for (int i = 0; i < octaves; ++i) {
        sum += weight * at(x, y, period);
        norm += weight;
        x *= 2.0f;
        y *= 2.0f;
        if (period > 0) period *= 2;
        weight *= 0.5f;
    }
    return sum / norm;
}
