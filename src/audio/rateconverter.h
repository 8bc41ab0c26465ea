// Converts 16-bit stereo from one sample rate to another as a stream without losing or adding
// time: N frames put in come out as round(N * to / from) frames once finish() is called, however
// they were split. The one user of the resampling library. No decoding; one thread at a time.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

struct soxr;

class CRateConverter {
public:
    CRateConverter(int fromRate, int toRate);
    CRateConverter(const CRateConverter&) = delete;
    CRateConverter& operator=(const CRateConverter&) = delete;

    // False when the library could not set up this conversion.
    bool isReady() const { return converter != nullptr; }

    // Takes `frames` source frames; what they give comes out of take().
    void put(const int16_t* stereo, int frames);
    // The source has ended: take() then gives what is still inside, up to the exact length.
    void finish();
    // Writes up to `frames` converted frames; 0 when nothing more is ready (after finish(): the
    // end of the stream). Fewer than asked for does not mean that nothing more is ready.
    int take(int16_t* stereo, int frames);
    // Forgets everything put in: the next put() begins a new stream at time 0.
    void restart();

private:
    struct Release {
        void operator()(soxr* converter) const;
    };
    std::unique_ptr<soxr, Release> converter;
    bool finished;
    std::vector<int16_t> scratch;
};
