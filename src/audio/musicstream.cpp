#include "audio/musicstream.h"

namespace {

constexpr int kRingFrames = 65536;   // about 1.5 s ahead of the listener
constexpr int kDecodeFrames = 4096;  // one decoder step

}  // namespace

CMusicStream::CMusicStream()
    : lengthFrames(0),
      ring(kRingFrames),
      playing(false),
      playPosition(0),
      seekTarget(0),
      seekRequested(0),
      seekApplied(0),
      quitting(false),
      decodedAll(false),
      seekHandled(0),
      decodeBuffer(2 * kDecodeFrames) {}

void CMusicStream::setPlaying(bool play) {
    playing.store(play, std::memory_order_relaxed);
}

// One seek or one piece of decoding; false when there is nothing to do for now.
bool CMusicStream::feedStep() {
    uint64_t requested = seekRequested.load(std::memory_order_acquire);
    if (requested != seekHandled) {
        int64_t target = seekTarget.load(std::memory_order_relaxed);
        decoder.seek(target);
        decodedAll = false;
        ring.restart(target);
        seekHandled = requested;
        seekApplied.store(requested, std::memory_order_release);
        return true;
    }
    if (decodedAll || ring.freeFrames() < kDecodeFrames) return false;
    int got = decoder.read(decodeBuffer.data(), kDecodeFrames);
    if (got == 0) decodedAll = true;
    ring.write(decodeBuffer.data(), got);
    return got > 0;
}

void CMusicStream::render(int32_t* mix, int16_t* scratch, int frames) {
    if (!playing.load(std::memory_order_relaxed)) return;
    catchUp();
    int got = 0;
    bool seekPending = seekRequested.load(std::memory_order_acquire) !=
                       seekApplied.load(std::memory_order_acquire);
    if (!seekPending) {
        int64_t restartedAt = 0;
        if (ring.follow(restartedAt)) playPosition.store(restartedAt, std::memory_order_relaxed);
        got = ring.read(scratch, frames);
    }
    for (int i = 2 * got; i < 2 * frames; ++i) scratch[i] = 0;
    playPosition.fetch_add(got, std::memory_order_release);
    recent.push(scratch, frames);
    for (int i = 0; i < 2 * frames; ++i) mix[i] += scratch[i];
}
