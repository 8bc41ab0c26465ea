#include "canvas.h"

#include <algorithm>
#include <cmath>

#include "blur.h"

SColor operator*(SColor c, float f) {
    return {c.r * f, c.g * f, c.b * f};
}
SColor operator+(SColor a, SColor b) {
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}
SColor mix(SColor a, SColor b, float t) {
    return a * (1.0f - t) + b * t;
}

CCanvas::CCanvas(int width, int height)
    : w(width), h(height), pixels(size_t(width) * height * 3, 0.0f) {}

SColor CCanvas::at(int x, int y) const {
    const float* p = &pixels[(size_t(y) * w + x) * 3];
    return {p[0], p[1], p[2]};
}

void CCanvas::set(int x, int y, SColor c) {
    if (x < 0 || y < 0 || x >= w || y >= h) return;
    float* p = &pixels[(size_t(y) * w + x) * 3];
    p[0] = c.r;
    p[1] = c.g;
    p[2] = c.b;
}

void CCanvas::fill(const std::function<SColor(float u, float v)>& colour) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) set(x, y, colour((x + 0.5f) / w, (y + 0.5f) / h));
}

void CCanvas::addMask(const CMask& mask, SColor colour, int dx, int dy) {
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            const int tx = x + dx, ty = y + dy;
            if (tx < 0 || ty < 0 || tx >= w || ty >= h) continue;
            set(tx, ty, at(tx, ty) + colour * mask.at(x, y));
        }
    }
}

void CCanvas::addMask(const CMask& mask, const std::function<SColor(float u, float v)>& colour) {
    for (int y = 0; y < std::min(h, mask.height()); ++y) {
        for (int x = 0; x < std::min(w, mask.width()); ++x) {
            const float a = mask.at(x, y);
            if (a > 0.0f) set(x, y, at(x, y) + colour((x + 0.5f) / w, (y + 0.5f) / h) * a);
        }
    }
}

void CCanvas::paintMask(const CMask& mask, const std::function<SColor(float u, float v)>& colour) {
    for (int y = 0; y < std::min(h, mask.height()); ++y) {
        for (int x = 0; x < std::min(w, mask.width()); ++x) {
            const float a = std::clamp(mask.at(x, y), 0.0f, 1.0f);
            if (a > 0.0f) set(x, y, mix(at(x, y), colour((x + 0.5f) / w, (y + 0.5f) / h), a));
        }
    }
}

void CCanvas::add(const CCanvas& other, float gain) {
    for (size_t i = 0; i < pixels.size() && i < other.pixels.size(); ++i)
        pixels[i] += other.pixels[i] * gain;
}

void CCanvas::multiply(const std::function<float(float u, float v)>& factor) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) set(x, y, at(x, y) * factor((x + 0.5f) / w, (y + 0.5f) / h));
}

void CCanvas::blur(float sigma, bool wrap) {
    blurImage(pixels.data(), w, h, 3, sigma, wrap);
}

CCanvas CCanvas::resized(int width, int height) const {
    CCanvas out(width, height);
    for (int y = 0; y < height; ++y) {
        const float sy = std::clamp((y + 0.5f) * h / height - 0.5f, 0.0f, float(h - 1));
        const int y0 = int(sy), y1 = std::min(y0 + 1, h - 1);
        for (int x = 0; x < width; ++x) {
            const float sx = std::clamp((x + 0.5f) * w / width - 0.5f, 0.0f, float(w - 1));
            const int x0 = int(sx), x1 = std::min(x0 + 1, w - 1);
            const SColor top = mix(at(x0, y0), at(x1, y0), sx - x0);
            const SColor bottom = mix(at(x0, y1), at(x1, y1), sx - x0);
            out.set(x, y, mix(top, bottom, sy - y0));
        }
    }
    return out;
}

namespace {

// How much of source pixel i the span [from, to) covers.
float overlap(int i, float from, float to) {
    return std::max(0.0f, std::min(to, i + 1.0f) - std::max(from, float(i)));
}

}  // namespace

CCanvas CCanvas::shrunk(int width, int height) const {
    CCanvas out(width, height);
    const float sx = float(w) / width, sy = float(h) / height;
    for (int y = 0; y < height; ++y) {
        const float top = y * sy, bottom = top + sy;
        for (int x = 0; x < width; ++x) {
            const float left = x * sx, right = left + sx;
            SColor sum{0, 0, 0};
            for (int j = int(top); j < std::min(h, int(std::ceil(bottom))); ++j)
                for (int i = int(left); i < std::min(w, int(std::ceil(right))); ++i)
                    sum = sum + at(i, j) * (overlap(i, left, right) * overlap(j, top, bottom));
            out.set(x, y, sum * (1.0f / (sx * sy)));
        }
    }
    return out;
}

void CCanvas::blit(const CCanvas& other, int x, int y) {
    for (int j = 0; j < other.h; ++j)
        for (int i = 0; i < other.w; ++i) set(x + i, y + j, other.at(i, j));
}

std::vector<uint8_t> CCanvas::toRgb8() const {
    std::vector<uint8_t> out(pixels.size());
    for (size_t i = 0; i < pixels.size(); ++i) {
        float v = std::max(0.0f, pixels[i]);
        // Linear up to 0.8, then an exponential shoulder that never quite reaches past 1.
        if (v > 0.8f) v = 0.8f + 0.2f * (1.0f - std::exp(-(v - 0.8f) / 0.2f));
        out[i] = uint8_t(std::lround(std::min(v, 1.0f) * 255.0f));
    }
    return out;
}
