// The spectrum each frame of an offline run is drawn with, in place of the sound card's: the
// FFT of the music at the frame's show time, or silence (--silent, --no-music, no music file).
// Opens no audio device. Main thread only.
#pragma once

#include <string>

#include "audio/offlinespectrum.h"

class CFrameSpectrum {
public:
    static const int kSize = 512;

    CFrameSpectrum();

    // Without a decodable music file every frame is silent.
    bool open(const std::string& musicPath);
    // Why the music could not be decoded, in the decoder's words.
    const std::string& problem() const { return music.problem(); }

    // The spectrum for a frame at `time` seconds of show time; valid until the next call.
    float* at(float time);

private:
    COfflineSpectrum music;
    float values[kSize];
};
