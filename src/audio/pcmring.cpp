#include "audio/pcmring.h"

#include <algorithm>
#include <cstring>

namespace {

uint64_t powerOfTwoAtLeast(int value) {
    uint64_t size = 1;
    while (size < static_cast<uint64_t>(value)) size <<= 1;
    return size;
}

}  // namespace

CPcmRing::CPcmRing(int capacityFrames)
    : frames(2 * powerOfTwoAtLeast(capacityFrames)),
      mask(powerOfTwoAtLeast(capacityFrames) - 1),
      writeIndex(0),
      readIndex(0),
      restartNumber(0),
      restartIndex(0),
      restartTag(0),
      followedNumber(0) {}

int CPcmRing::freeFrames() const {
    uint64_t used =
        writeIndex.load(std::memory_order_relaxed) - readIndex.load(std::memory_order_acquire);
    // Right after a restart the consumer may still sit before it; that only shrinks the room.
    return static_cast<int>(mask + 1 - std::min(used, mask + 1));
}

int CPcmRing::write(const int16_t* stereo, int count) {
    int room = std::min(count, freeFrames());
    uint64_t start = writeIndex.load(std::memory_order_relaxed);
    for (int f = 0; f < room; ++f) {
        uint64_t slot = (start + f) & mask;
        frames[2 * slot] = stereo[2 * f];
        frames[2 * slot + 1] = stereo[2 * f + 1];
    }
    writeIndex.store(start + room, std::memory_order_release);
    return room;
}

void CPcmRing::restart(int64_t tag) {
    uint64_t number = restartNumber.load(std::memory_order_relaxed);
    restartNumber.store(number + 1, std::memory_order_release);
    std::atomic_thread_fence(std::memory_order_release);
    restartIndex.store(writeIndex.load(std::memory_order_relaxed), std::memory_order_relaxed);
    restartTag.store(tag, std::memory_order_relaxed);
    restartNumber.store(number + 2, std::memory_order_release);
}

bool CPcmRing::follow(int64_t& tag) {
    uint64_t before = restartNumber.load(std::memory_order_acquire);
    if (before == followedNumber || (before & 1) != 0) return false;
    uint64_t index = restartIndex.load(std::memory_order_relaxed);
    int64_t restartedAt = restartTag.load(std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_acquire);
    if (restartNumber.load(std::memory_order_relaxed) != before) return false;
    if (readIndex.load(std::memory_order_relaxed) < index)
        readIndex.store(index, std::memory_order_release);
    followedNumber = before;
    tag = restartedAt;
    return true;
}

int CPcmRing::read(int16_t* stereo, int count) {
    uint64_t start = readIndex.load(std::memory_order_relaxed);
    uint64_t available = writeIndex.load(std::memory_order_acquire) - start;
    int take = static_cast<int>(std::min<uint64_t>(available, static_cast<uint64_t>(count)));
    for (int f = 0; f < take; ++f) {
        uint64_t slot = (start + f) & mask;
        stereo[2 * f] = frames[2 * slot];
        stereo[2 * f + 1] = frames[2 * slot + 1];
    }
    readIndex.store(start + take, std::memory_order_release);
    return take;
}
