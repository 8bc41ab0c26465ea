#include "mask.h"

#include <algorithm>

#include "blur.h"

CMask::CMask(int width, int height) : w(width), h(height), pixels(size_t(width) * height, 0.0f) {}

void CMask::maxAt(int x, int y, float value) {
    if (x < 0 || y < 0 || x >= w || y >= h) return;
    float& p = pixels[y * w + x];
    p = std::max(p, value);
}

void CMask::fill(const std::function<float(float x, float y)>& coverage) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) pixels[y * w + x] = coverage(x + 0.5f, y + 0.5f);
}

void CMask::add(const CMask& other, float gain) {
    for (size_t i = 0; i < pixels.size() && i < other.pixels.size(); ++i)
        pixels[i] += other.pixels[i] * gain;
}

void CMask::blur(float sigma, bool wrap) {
    blurImage(pixels.data(), w, h, 1, sigma, wrap);
}

CMask CMask::blurred(float sigma, bool wrap) const {
    CMask copy = *this;
    copy.blur(sigma, wrap);
    return copy;
}
