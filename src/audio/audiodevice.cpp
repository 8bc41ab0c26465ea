#include "audio/audiodevice.h"

#include <algorithm>

#include "audio/musicstream.h"
#include "core/systemreason.h"
#include "platform/sdlreason.h"

namespace {

// 512 frames (about 12 ms): the last buffer handed over is the one being heard, close enough
// for the spectrum to follow the sound. The browser asks for more (VEXMORO_AUDIO_DEVICE_FRAMES):
// there the callback waits for each frame the main thread draws, and a short buffer runs dry.
#ifndef VEXMORO_AUDIO_DEVICE_FRAMES
#define VEXMORO_AUDIO_DEVICE_FRAMES 512
#endif
constexpr int kDeviceFrames = VEXMORO_AUDIO_DEVICE_FRAMES;

}  // namespace

CAudioDevice::CAudioDevice()
    : subsystemUp(false),
      id(0),
      outputRate(0),
      bufferFrames(0),
      streams(),
      handles(),
      nextHandle(1),
      volume(100) {}

CAudioDevice::~CAudioDevice() {
    if (id != 0) SDL_CloseAudioDevice(id);
    for (std::unique_ptr<CMusicStream>& stream : streams) stream.reset();
    if (subsystemUp) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool CAudioDevice::open(int rate, std::string& reason) {
    if (id != 0 || rate <= 0) return false;
    SDL_ClearError();
    subsystemUp = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    if (!subsystemUp) {
        reason = sdlReason();
        return false;
    }
    SDL_AudioSpec wanted{}, obtained{};
    wanted.freq = rate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = kDeviceFrames;
    wanted.callback = &CAudioDevice::callback;
    wanted.userdata = this;
    // No changes allowed: SDL converts to whatever the hardware wants.
    SDL_ClearError();
    id = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (id == 0) {
        reason = sdlReason();
        return false;
    }
    outputRate = rate;
    bufferFrames = obtained.samples;
    mixBuffer.assign(2 * static_cast<size_t>(bufferFrames), 0);
    streamScratch.assign(2 * static_cast<size_t>(bufferFrames), 0);
    return true;
}

uint32_t CAudioDevice::createStream(const std::string& path, std::string& reason) {
    int slot = std::find(streams, streams + kMaxStreams, nullptr) - streams;
    if (id == 0 || slot == kMaxStreams) return 0;
    auto created = std::make_unique<CMusicStream>();
    if (!created->open(path, outputRate)) {
        reason = reasonFrom(created->problem());
        return 0;
    }
    SDL_LockAudioDevice(id);
    streams[slot] = std::move(created);
    handles[slot] = nextHandle++;
    SDL_UnlockAudioDevice(id);
    return handles[slot];
}

CMusicStream* CAudioDevice::stream(uint32_t handle) const {
    for (int slot = 0; slot < kMaxStreams; ++slot)
        if (streams[slot] != nullptr && handles[slot] == handle) return streams[slot].get();
    return nullptr;
}

void CAudioDevice::play(uint32_t handle) {
    CMusicStream* target = stream(handle);
    if (target == nullptr) return;
    target->setPlaying(true);
    SDL_PauseAudioDevice(id, 0);
}

void CAudioDevice::stop() {
    if (id != 0) SDL_PauseAudioDevice(id, 1);
}

void CAudioDevice::setVolume(int percent) {
    volume.store(percent, std::memory_order_relaxed);
}

void CAudioDevice::callback(void* device, Uint8* out, int bytes) {
    static_cast<CAudioDevice*>(device)->mix(reinterpret_cast<int16_t*>(out), bytes / 4);
}

// Runs on SDL's audio thread while the main thread is kept out of the stream table.
void CAudioDevice::mix(int16_t* out, int frames) {
    int done = 0;
    while (done < frames) {
        int count = std::min(frames - done, bufferFrames);
        std::fill(mixBuffer.begin(), mixBuffer.begin() + 2 * count, 0);
        for (const std::unique_ptr<CMusicStream>& playing : streams)
            if (playing != nullptr) playing->render(mixBuffer.data(), streamScratch.data(), count);
        int percent = volume.load(std::memory_order_relaxed);
        for (int i = 0; i < 2 * count; ++i) {
            int32_t sample = mixBuffer[i] * percent / 100;
            out[2 * done + i] = static_cast<int16_t>(std::clamp(sample, -32768, 32767));
        }
        done += count;
    }
}
