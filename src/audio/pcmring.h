// A fixed ring of stereo 16-bit frames from one producer thread (the decoder) to one consumer
// thread (the audio callback). Neither side locks, waits or allocates; the producer can restart
// the stream at a new place and the consumer picks that up (see restart and follow).
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

class CPcmRing {
public:
    // capacityFrames is rounded up to a power of two.
    explicit CPcmRing(int capacityFrames);

    // Producer side.
    int freeFrames() const;
    int write(const int16_t* stereo, int frames);
    // Everything written so far is stale: the consumer skips it once it follows (see below).
    // `tag` travels with the restart (the stream's position where the fresh frames begin).
    void restart(int64_t tag);

    // Consumer side.
    int read(int16_t* stereo, int frames);
    // Skips to the latest restart if the consumer is not there yet; true then, with its tag.
    bool follow(int64_t& tag);

private:
    std::vector<int16_t> frames;
    uint64_t mask;
    std::atomic<uint64_t> writeIndex;
    std::atomic<uint64_t> readIndex;
    // Written together by the producer; the consumer reads them between two looks at the
    // number (odd while they change), so it never pairs one restart's index with another's tag.
    std::atomic<uint64_t> restartNumber;
    std::atomic<uint64_t> restartIndex;
    std::atomic<int64_t> restartTag;
    uint64_t followedNumber;  // consumer's own
};
