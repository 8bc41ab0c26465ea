#include "core/framespectrum.h"

#include <algorithm>

CFrameSpectrum::CFrameSpectrum() : values{} {}

// Refilled on every call, so that a scene writing into its argument cannot leak into later frames.
float* CFrameSpectrum::at(float) {
    std::fill(values, values + kSize, 0.0f);
    return values;
}
