#include "blur.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// One box pass along a line of n samples spaced `stride` floats apart.
void boxLine(float* line, int n, int stride, int radius, bool wrap, std::vector<float>& tmp) {
    tmp.assign(n, 0.0f);
    const float scale = 1.0f / float(2 * radius + 1);
    auto sample = [&](int i) -> float {
        if (wrap) {
            i = ((i % n) + n) % n;
        } else if (i < 0 || i >= n) {
            return 0.0f;
        }
        return line[i * stride];
    };
    double sum = 0.0;
    for (int i = -radius; i <= radius; ++i) sum += sample(i);
    for (int i = 0; i < n; ++i) {
        tmp[i] = float(sum * scale);
        sum += sample(i + radius + 1) - sample(i - radius);
    }
    for (int i = 0; i < n; ++i) line[i * stride] = tmp[i];
}

}  // namespace

void blurImage(float* data, int w, int h, int channels, float sigma, bool wrap) {
    if (sigma <= 0.0f) return;
    // Three boxes of width 2r+1 have a variance of 3 * ((2r+1)^2 - 1) / 12.
    const int radius =
        std::max(1, int(std::lround((std::sqrt(4.0 * sigma * sigma + 1.0) - 1.0) / 2.0)));
    std::vector<float> tmp;
    for (int pass = 0; pass < 3; ++pass) {
        for (int c = 0; c < channels; ++c) {
            for (int y = 0; y < h; ++y)
                boxLine(data + (y * w) * channels + c, w, channels, radius, wrap, tmp);
            for (int x = 0; x < w; ++x)
                boxLine(data + x * channels + c, h, w * channels, radius, wrap, tmp);
        }
    }
}
