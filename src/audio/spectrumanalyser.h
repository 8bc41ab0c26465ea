// The spectrum the scenes react to: Hann window and real FFT over kSpectrumSamples mono
// samples, magnitudes scaled so a full-scale DC level reads 1 and a full-scale sine at a bin's
// centre reads 0.5. Shared by the live player and the offline one. One thread at a time.
#pragma once

#include <kiss_fftr.h>

#include <memory>

#include "audio/audioformat.h"

class CSpectrumAnalyser {
public:
    CSpectrumAnalyser();
    CSpectrumAnalyser(const CSpectrumAnalyser&) = delete;
    CSpectrumAnalyser& operator=(const CSpectrumAnalyser&) = delete;

    // Reads kSpectrumSamples samples, writes kSpectrumBins magnitudes, lowest frequency first.
    void analyse(const float* mono, float* magnitudes) const;

private:
    struct Release {
        void operator()(kiss_fftr_state* config) const;
    };
    // Holds KissFFT's scratch, hence one thread at a time.
    std::unique_ptr<kiss_fftr_state, Release> config;
    float window[audioformat::kSpectrumSamples];
};
