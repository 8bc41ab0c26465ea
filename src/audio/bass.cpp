#include "audio/bass.h"

#include "platform/messagebox.h"

namespace {

constexpr int kSpectrumFloats = 512;

}  // namespace

// Zero-filled, so that scenes see silence before the music and when there is none.
CBass::CBass() : stream(0), spectrum(std::make_unique<float[]>(kSpectrumFloats)) {}

CBass::~CBass() {
    BASS_Free();
    stream = 0;
    spectrum.reset();
}

bool CBass::init(const char* name, SDL_Window* window) {
    fileName = name != nullptr ? name : "";
    if (!BASS_Init(1, 44100, 0, window, nullptr)) {
        showMessage(("Unable to init BASS" + audioFailureReason()).c_str(), "CBass::init()");
        return false;
    }
    stream = BASS_StreamCreateFile(FALSE, fileName.c_str(), 0, 0, 0);
    if (stream == 0) reportUnplayable(fileName, audioFailureReason());
    return true;
}

void CBass::reportUnplayable(const std::string& name, const std::string& reason) {
    showError(("Unable to load music " + name + reason).c_str(), "CBass::init()");
}

void CBass::play() {
    BASS_StreamPlay(stream, TRUE, 0);
}

void CBass::stop() {
    BASS_Stop();
}

void CBass::setVolume(unsigned int volume) {
    if (volume <= 100) BASS_SetVolume(volume);
}

// Only the low 32 bits of the byte position are kept, sign-extended: positions beyond 2^31 - 1
// bytes (over three hours of music) cannot be reached.
void CBass::setPosition(float seconds) {
    QWORD bytes = BASS_ChannelSeconds2Bytes(stream, seconds);
    int64_t kept = static_cast<int32_t>(static_cast<uint32_t>(bytes));
    BASS_ChannelSetPosition(stream, static_cast<QWORD>(kept));
}

float* CBass::getSpectrum() {
    BASS_ChannelGetData(stream, spectrum.get(), BASS_DATA_FFT512);
    return spectrum.get();
}
