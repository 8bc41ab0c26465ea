#include "audio/offlinespectrum.h"

#include <cmath>
#include <vector>

#include "audio/audioformat.h"
#include "audio/oggdecoder.h"
#include "audio/samplehistory.h"

using audioformat::kSpectrumSamples;

bool COfflineSpectrum::open(const std::string& path) {
    mono.clear();
    opened = false;
    COggDecoder decoder;
    if (!decoder.open(path, audioformat::kRate)) {
        why = decoder.problem();
        return false;
    }
    why.clear();
    // Grown as decoded, never sized from the length the file declares, and cut at the longest
    // music the player takes whatever the file holds.
    const size_t limit = size_t(audioformat::kMaxMusicSeconds) * audioformat::kRate;
    std::vector<int16_t> stereo(2 * 4096);
    while (int got = decoder.read(stereo.data(), 4096)) {
        for (int f = 0; f < got && mono.size() < limit; ++f)
            mono.push_back(CSampleHistory::toMono(stereo[2 * f], stereo[2 * f + 1]));
        if (mono.size() == limit) break;
    }
    opened = true;
    return true;
}

void COfflineSpectrum::compute(double seconds, float* spectrum) const {
    // The nearest frame, as the live player positions itself; kept in double so that any
    // time, even a negative or non-finite one, only selects silence.
    double first = std::round(seconds * audioformat::kRate);
    float window[kSpectrumSamples];
    for (int i = 0; i < kSpectrumSamples; ++i) {
        double index = first + i;
        bool inside = index >= 0 && index < static_cast<double>(mono.size());
        window[i] = inside ? mono[static_cast<size_t>(index)] : 0.0f;
    }
    analyser.analyse(window, spectrum);
}
