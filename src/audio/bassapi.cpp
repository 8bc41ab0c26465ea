#include "audio/bassapi.h"

#include <memory>

#include "audio/audiodevice.h"
#include "audio/audioformat.h"
#include "audio/musicstream.h"
#include "audio/spectrumanalyser.h"

namespace {

std::unique_ptr<CAudioDevice> device;
std::string failure;

CMusicStream* findStream(DWORD handle) {
    return device != nullptr ? device->stream(handle) : nullptr;
}

}  // namespace

BOOL BASS_Init(int deviceNumber, DWORD freq, DWORD, void*, const void*) {
    failure.clear();
    if (device != nullptr || (deviceNumber != 1 && deviceNumber != -1)) return FALSE;
    if (freq == 0 || freq > 384000) return FALSE;
    device = std::make_unique<CAudioDevice>();
    if (device->open(static_cast<int>(freq), failure)) return TRUE;
    device.reset();
    return FALSE;
}

HSTREAM BASS_StreamCreateFile(BOOL mem, const void* file, DWORD offset, DWORD length, DWORD) {
    failure.clear();
    if (device == nullptr || mem || file == nullptr || offset != 0 || length != 0) return 0;
    return device->createStream(static_cast<const char*>(file), failure);
}

BOOL BASS_StreamPlay(HSTREAM handle, BOOL flush, DWORD) {
    CMusicStream* stream = findStream(handle);
    if (stream == nullptr) return FALSE;
    if (flush) stream->seek(stream->position());
    device->play(handle);
    return TRUE;
}

QWORD BASS_ChannelSeconds2Bytes(DWORD handle, float pos) {
    if (findStream(handle) == nullptr) return static_cast<QWORD>(-1);
    int64_t frames = audioformat::secondsToFrames(pos, device->rate());
    if (frames < 0) return static_cast<QWORD>(-1);
    return static_cast<QWORD>(frames) * audioformat::kBytesPerFrame;
}

BOOL BASS_ChannelSetPosition(DWORD handle, QWORD pos) {
    CMusicStream* stream = findStream(handle);
    if (stream == nullptr || pos > static_cast<QWORD>(INT64_MAX)) return FALSE;
    return stream->seek(static_cast<int64_t>(pos / audioformat::kBytesPerFrame)) ? TRUE : FALSE;
}

DWORD BASS_ChannelGetData(DWORD handle, void* buffer, DWORD length) {
    static const CSpectrumAnalyser analyser;
    CMusicStream* stream = findStream(handle);
    if (stream == nullptr || buffer == nullptr || length != BASS_DATA_FFT512)
        return static_cast<DWORD>(-1);
    float mono[audioformat::kSpectrumSamples];
    stream->history().latest(mono);
    analyser.analyse(mono, static_cast<float*>(buffer));
    return audioformat::kSpectrumBins * sizeof(float);
}

BOOL BASS_SetVolume(DWORD volume) {
    if (device == nullptr || volume > 100) return FALSE;
    device->setVolume(static_cast<int>(volume));
    return TRUE;
}

BOOL BASS_Stop() {
    if (device == nullptr) return FALSE;
    device->stop();
    return TRUE;
}

BOOL BASS_Free() {
    if (device == nullptr) return FALSE;
    device.reset();
    return TRUE;
}

const std::string& audioFailureReason() {
    return failure;
}
