// The spectrum each frame of an offline run is drawn with, in place of the sound card's: the
// FFT of the music at the frame's show time, or silence (--silent, --no-music, no music file).
// Opens no audio device. Main thread only.
#pragma once

class CFrameSpectrum {
  public:
    static const int kSize = 512;

    CFrameSpectrum();

    // The spectrum for a frame at `time` seconds of show time; valid until the next call.
    float* at(float time);

  private:
    float values[kSize];
};
