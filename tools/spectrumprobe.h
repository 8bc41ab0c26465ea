// Decodes an Ogg Vorbis file to mono samples and measures the spectrum the scenes see: the
// magnitudes |X[k]| * 2 / 512 of a Hann-windowed 512-sample FFT that starts at a given time.
// For checking the generated music offline; not part of the show.
#pragma once

#include <string>
#include <vector>

class CSpectrumProbe {
  public:
    static const int kSize = 512;

    bool open(const std::string& path);
    double length() const { return double(samples.size()) / rate; }
    // Largest absolute sample of either channel.
    float peak() const { return peakLevel; }
    // Fills bins[0..255]; samples past the end count as silence.
    void compute(double seconds, float* bins) const;

  private:
    std::vector<float> samples;  // (left + right) / 2
    int rate = 44100;
    float peakLevel = 0.0f;
};
