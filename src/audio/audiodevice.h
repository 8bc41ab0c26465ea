// The sound output: SDL's default playback device in 16-bit stereo, the streams that play on it
// and the master volume. The callback mixes the playing streams without locking or allocating;
// streams are added and removed by the main thread while the callback is held off.
#pragma once

#include <SDL.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CMusicStream;

class CAudioDevice {
public:
    CAudioDevice();
    // Closes the device first, so no callback outlives the streams, then frees the streams.
    ~CAudioDevice();
    CAudioDevice(const CAudioDevice&) = delete;
    CAudioDevice& operator=(const CAudioDevice&) = delete;

    // Brings up SDL audio and opens the default device, paused; false if either fails, with
    // `reason` set to ": " and SDL's words where it gave some.
    bool open(int rate, std::string& reason);
    int rate() const { return outputRate; }

    // Returns the new stream's handle, 0 when the file cannot be decoded, with `reason` set to
    // ": " and the decoder's words.
    uint32_t createStream(const std::string& path, std::string& reason);
    CMusicStream* stream(uint32_t handle) const;

    void play(uint32_t handle);
    void stop();
    void setVolume(int percent);

private:
    static void callback(void* device, Uint8* out, int bytes);
    void mix(int16_t* out, int frames);

    static constexpr int kMaxStreams = 8;
    bool subsystemUp;
    SDL_AudioDeviceID id;
    int outputRate;
    int bufferFrames;
    std::unique_ptr<CMusicStream> streams[kMaxStreams];
    uint32_t handles[kMaxStreams];
    uint32_t nextHandle;
    std::atomic<int> volume;
    std::vector<int32_t> mixBuffer;      // sized once when the device opens
    std::vector<int16_t> streamScratch;  // the same
};
