#include "offline/framespectrum.h"

#include <algorithm>

CFrameSpectrum::CFrameSpectrum() : values{} {}

bool CFrameSpectrum::open(const std::string& musicPath) {
    return music.open(musicPath);
}

// Refilled on every call, so that a scene writing into its argument cannot leak into later frames.
float* CFrameSpectrum::at(float time) {
    std::fill(values, values + kSize, 0.0f);
    if (music.isOpen()) music.compute(time, values);
    return values;
}
