// The spectrum of the music at any time without an audio device, for capture runs and tests:
// the same analysis as the live player over the samples that begin at that time.
// Decodes the whole file once at open (mono, about 10 MB per minute, at most an hour's worth).
// One thread at a time.
#pragma once

#include <deque>
#include <string>

#include "audio/spectrumanalyser.h"

class COfflineSpectrum {
public:
    // False when the file cannot be decoded; then every spectrum is silence, and problem() says
    // why in the decoder's words.
    bool open(const std::string& path);
    bool isOpen() const { return opened; }
    const std::string& problem() const { return why; }

    // Writes floats 0..255 of `spectrum` from the 512 samples that begin at `seconds`;
    // samples past the end (or before the start) count as silence.
    void compute(double seconds, float* spectrum) const;

private:
    bool opened = false;
    std::deque<float> mono;  // grows in small blocks: no doubling, no copies
    std::string why;
    CSpectrumAnalyser analyser;
};
