// The decoding of CMusicStream where there is one thread: the audio callback, which the browser
// runs on the main thread between frames, decodes what it is about to take. No waiting happens:
// nothing else touches the ring.
#include "audio/musicstream.h"

CMusicStream::~CMusicStream() = default;

bool CMusicStream::open(const std::string& path, int rate) {
    if (!decoder.open(path, rate)) return false;
    lengthFrames = decoder.length();
    return true;
}

bool CMusicStream::seek(int64_t frame) {
    if (frame < 0 || frame > lengthFrames) return false;
    seekTarget.store(frame, std::memory_order_relaxed);
    seekRequested.fetch_add(1, std::memory_order_release);
    return true;
}

// A pending seek first, then the ring filled: up to about 1.5 s decoded in one go when it runs
// empty, a step now and then after that.
void CMusicStream::catchUp() {
    while (feedStep()) {
    }
}
