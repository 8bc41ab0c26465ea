// One music file being played: a thread of its own decodes ahead into a ring, and the audio
// callback takes frames from it (render) without waiting, locking or allocating; what was
// rendered is kept for the spectrum. Seeking and playing are asked for from the main thread.
// The decoding runs in musicstream_feed.cpp; in the browser, which has one thread,
// musicstream_feed_web.cpp decodes inside render (the callback runs there between frames).
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "audio/oggdecoder.h"
#include "audio/pcmring.h"
#include "audio/samplehistory.h"

class CMusicStream {
public:
    CMusicStream();
    ~CMusicStream();
    CMusicStream(const CMusicStream&) = delete;
    CMusicStream& operator=(const CMusicStream&) = delete;

    // Opens the file and starts decoding from its beginning; false if it cannot be decoded.
    bool open(const std::string& path, int rate);
    // Why the file could not be opened, in the decoder's words.
    const std::string& problem() const { return decoder.problem(); }

    // Main thread.
    int64_t length() const { return lengthFrames; }
    void setPlaying(bool playing);
    bool isPlaying() const { return playing.load(std::memory_order_relaxed); }
    // Playback goes on from that frame; what was decoded before it is never heard.
    bool seek(int64_t frame);
    // The frame the next render starts at.
    int64_t position() const { return playPosition.load(std::memory_order_acquire); }
    const CSampleHistory& history() const { return recent; }

    // Audio thread: adds `frames` frames to `mix` (silence while a seek is pending or the
    // decoder is behind); does nothing while not playing.
    void render(int32_t* mix, int16_t* scratch, int frames);

private:
    void feed();
    bool feedStep();
    // Called by render before it takes frames: decodes what is due where no thread does.
    void catchUp();

    COggDecoder decoder;
    int64_t lengthFrames;
    CPcmRing ring;
    CSampleHistory recent;
    std::atomic<bool> playing;
    std::atomic<int64_t> playPosition;

    // Seek requests, main thread to decoder thread.
    std::atomic<int64_t> seekTarget;
    std::atomic<uint64_t> seekRequested;
    std::atomic<uint64_t> seekApplied;

    // Decoder thread; the mutex guards only the sleep, never the decoding.
    std::thread decoderThread;
    std::mutex wakeMutex;
    std::condition_variable wake;
    bool quitting;
    bool decodedAll;       // decoder thread's own
    uint64_t seekHandled;  // decoder thread's own
    std::vector<int16_t> decodeBuffer;
};
