#include "musicfigures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

const double kFps = 60.0;

float median(std::vector<float> values) {
    if (values.empty()) return 0.0f;
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// Calls visit(bins) for every frame whose time lies in [from, to).
template <typename Visit>
void frames(const SpectrumAt& spectrum, double from, double to, Visit visit) {
    float bins[256];
    for (long k = long(std::ceil(from * kFps)); k / kFps < to; ++k) {
        spectrum(k / kFps, bins);
        visit(bins);
    }
}

}  // namespace

SMusicFigures measureMusic(const SpectrumAt& spectrum, double length, float peak) {
    SMusicFigures f;
    f.length = length;
    f.peak = peak;
    std::vector<float> opacity;
    frames(spectrum, 0.5, 50.6,
           [&](const float* s) { opacity.push_back(std::min(1.0f, 3.0f * (s[1] + s[2] + s[3]))); });
    f.creditsMedian = median(opacity);
    f.creditsDim =
        float(std::count_if(opacity.begin(), opacity.end(), [](float o) { return o < 0.5f; })) /
        opacity.size();
    int above = 0, total = 0, quiet = 99;
    frames(spectrum, 50.6, 75.7, [&](const float* s) {
        ++total;
        if (s[0] > 0.7f) {
            ++above;
            // A new beat once the level has stayed low for a few frames.
            if (quiet >= 6) ++f.greetingsBeats;
            quiet = 0;
        } else {
            ++quiet;
        }
    });
    f.greetingsShare = total ? float(above) / total : 0.0f;
    std::vector<float> bands[6];
    frames(spectrum, 151.7, 177.0, [&](const float* s) {
        for (int b = 0; b < 6; ++b) bands[b].push_back(s[b]);
    });
    for (int b = 0; b < 6; ++b) f.tunnelMedian[b] = median(bands[b]);
    frames(spectrum, 0.0, f.length, [&](const float* s) {
        f.loudestBand = std::max({f.loudestBand, s[0], s[1], s[2], s[3], s[4], s[5]});
    });
    return f;
}

std::string missedTargets(const SMusicFigures& f) {
    std::string out;
    auto check = [&](bool ok, const char* what) {
        if (!ok) out += std::string(what) + "\n";
    };
    check(f.length >= 209.2, "shorter than the show (209.2 s)");
    check(f.peak < 0.9661f, "peak not under -0.3 dBFS");
    check(f.creditsMedian >= 0.4f && f.creditsMedian <= 1.0f,
          "credits opacity median outside 0.4..1.0");
    check(f.creditsDim >= 0.1f, "credits opacity below 0.5 in under 10% of frames");
    check(f.greetingsShare >= 0.03f && f.greetingsShare <= 0.25f,
          "greetings s0 > 0.7 outside 3..25% of frames");
    check(f.greetingsBeats >= 10, "greetings s0 > 0.7 on fewer than 10 beats");
    for (int b = 0; b < 6; ++b)
        check(f.tunnelMedian[b] >= 0.05f && f.tunnelMedian[b] <= 0.6f,
              "a tunnel band median outside 0.05..0.6");
    check(f.loudestBand <= 1.3f, "a band above 1.3");
    return out;
}

std::string describe(const SMusicFigures& f) {
    char text[512];
    std::snprintf(text, sizeof text,
                  "length %.2f s, peak %.4f (%.2f dBFS)\n"
                  "credits: opacity median %.3f, below 0.5 in %.1f%% of frames\n"
                  "greetings: s0 > 0.7 in %.1f%% of frames, on %d beats\n"
                  "tunnel medians: %.3f %.3f %.3f %.3f %.3f %.3f\n"
                  "loudest of s0..s5 anywhere: %.3f\n",
                  f.length, f.peak, 20.0 * std::log10(std::max(1e-9f, f.peak)), f.creditsMedian,
                  f.creditsDim * 100.0, f.greetingsShare * 100.0, f.greetingsBeats,
                  f.tunnelMedian[0], f.tunnelMedian[1], f.tunnelMedian[2], f.tunnelMedian[3],
                  f.tunnelMedian[4], f.tunnelMedian[5], f.loudestBand);
    return text;
}
