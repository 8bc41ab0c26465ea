#include "audio/spectrumanalyser.h"

#include <cmath>

using audioformat::kSpectrumBins;
using audioformat::kSpectrumSamples;

void CSpectrumAnalyser::Release::operator()(kiss_fftr_state* config) const {
    kiss_fftr_free(config);
}

CSpectrumAnalyser::CSpectrumAnalyser()
    : config(kiss_fftr_alloc(kSpectrumSamples, 0, nullptr, nullptr)) {
    // The periodic Hann window sums to exactly half the length, which makes DC read 1.
    const double pi = std::acos(-1.0);
    for (int n = 0; n < kSpectrumSamples; ++n)
        window[n] = static_cast<float>(0.5 - 0.5 * std::cos(2.0 * pi * n / kSpectrumSamples));
}

void CSpectrumAnalyser::analyse(const float* mono, float* magnitudes) const {
    float windowed[kSpectrumSamples];
    kiss_fft_cpx bins[kSpectrumBins + 1];
    for (int n = 0; n < kSpectrumSamples; ++n) windowed[n] = mono[n] * window[n];
    kiss_fftr(config.get(), windowed, bins);
    const float scale = 2.0f / kSpectrumSamples;
    for (int k = 0; k < kSpectrumBins; ++k)
        magnitudes[k] = std::sqrt(bins[k].r * bins[k].r + bins[k].i * bins[k].i) * scale;
}
