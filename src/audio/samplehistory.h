// The most recently played samples of one stream, mixed to mono, handed from the audio thread
// to the main thread. The writer never waits or allocates; a reader retries a copy that the
// writer overtook, so it never sees a torn window.
#pragma once

#include <atomic>
#include <cstdint>

#include "audio/audioformat.h"

class CSampleHistory {
public:
    CSampleHistory();

    // Writer (audio thread): appends stereo frames as mono (L + R) / 2, scaled to -1..1.
    void push(const int16_t* stereo, int frames);
    // The mono mix used for every spectrum.
    static float toMono(int16_t left, int16_t right) {
        return (static_cast<float>(left) + right) / 65536.0f;
    }

    // Reader: the last kSpectrumSamples samples, oldest first; zeros before anything was pushed.
    void latest(float* mono) const;

private:
    static constexpr uint64_t kSize = 4096;  // many callbacks' worth, so a copy is rarely overtaken
    std::atomic<float> samples[kSize];
    std::atomic<uint64_t> reserved;  // samples the writer has started to store
    std::atomic<uint64_t> written;   // samples stored
};
