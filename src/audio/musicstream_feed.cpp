// The decoding of CMusicStream on a thread of its own, woken for seeks and otherwise polling the
// ring.
#include <chrono>

#include "audio/musicstream.h"

namespace {

constexpr auto kIdleWait = std::chrono::milliseconds(5);

}  // namespace

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

// The thread keeps the ring filled.
void CMusicStream::catchUp() {}
