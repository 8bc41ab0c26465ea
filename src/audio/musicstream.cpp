#include "audio/musicstream.h"

#include <chrono>

namespace {

constexpr int kRingFrames = 65536;   // about 1.5 s ahead of the listener
constexpr int kDecodeFrames = 4096;  // one decoder step
constexpr auto kIdleWait = std::chrono::milliseconds(5);

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

CMusicStream::~CMusicStream() {
    if (!decoderThread.joinable()) return;
    {
        std::lock_guard<std::mutex> lock(wakeMutex);
        quitting = true;
    }
    wake.notify_one();
    decoderThread.join();
}

bool CMusicStream::open(const std::string& path, int rate) {
    if (decoderThread.joinable() || !decoder.open(path, rate)) return false;
    lengthFrames = decoder.length();
    decoderThread = std::thread(&CMusicStream::feed, this);
    return true;
}

void CMusicStream::setPlaying(bool play) {
    playing.store(play, std::memory_order_relaxed);
}

bool CMusicStream::seek(int64_t frame) {
    if (frame < 0 || frame > lengthFrames) return false;
    seekTarget.store(frame, std::memory_order_relaxed);
    {
        std::lock_guard<std::mutex> lock(wakeMutex);
        seekRequested.fetch_add(1, std::memory_order_release);
    }
    wake.notify_one();
    return true;
}

void CMusicStream::feed() {
    std::unique_lock<std::mutex> lock(wakeMutex);
    while (!quitting) {
        lock.unlock();
        bool busy = feedStep();
        lock.lock();
        if (busy) continue;
        wake.wait_for(lock, kIdleWait, [this] {
            return quitting || seekRequested.load(std::memory_order_relaxed) != seekHandled;
        });
    }
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
