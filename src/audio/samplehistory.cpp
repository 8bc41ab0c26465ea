#include "audio/samplehistory.h"

CSampleHistory::CSampleHistory() : reserved(0), written(0) {
    for (auto& sample : samples) sample.store(0.0f, std::memory_order_relaxed);
}

void CSampleHistory::push(const int16_t* stereo, int frames) {
    uint64_t end = written.load(std::memory_order_relaxed);
    reserved.store(end + frames, std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_release);
    for (int f = 0; f < frames; ++f) {
        samples[(end + f) % kSize].store(toMono(stereo[2 * f], stereo[2 * f + 1]),
                                         std::memory_order_relaxed);
    }
    written.store(end + frames, std::memory_order_release);
}

void CSampleHistory::latest(float* mono) const {
    constexpr uint64_t window = audioformat::kSpectrumSamples;
    while (true) {
        uint64_t end = written.load(std::memory_order_acquire);
        for (uint64_t i = 0; i < window; ++i) {
            uint64_t index = end + i;  // end - window + i, kept unsigned
            mono[i] = index < window
                          ? 0.0f
                          : samples[(index - window) % kSize].load(std::memory_order_relaxed);
        }
        std::atomic_thread_fence(std::memory_order_acquire);
        // The writer may have lapped the window while it was copied; then copy again.
        if (reserved.load(std::memory_order_relaxed) - end + window <= kSize) return;
    }
}
