// The figures by which the music is judged against what the scenes expect of it, measured at
// 60 frames per second on the spectrum the show computes, and a readable report of them.
// Needs only a function giving that spectrum at a time; makes no FFT of its own.
#pragma once

#include <functional>
#include <string>

struct SMusicFigures {
    double length = 0;           // seconds
    float peak = 0;              // largest sample, full scale 1
    float creditsMedian = 0;     // median of min(1, 3 (s1 + s2 + s3)), 0.5 to 50.6 s
    float creditsDim = 0;        // share of those frames below 0.5
    float greetingsShare = 0;    // share of frames with s0 > 0.7, 50.6 to 75.7 s
    int greetingsBeats = 0;      // separate runs of such frames
    float tunnelMedian[6] = {};  // median of s0..s5, 151.7 to 177.0 s
    float loudestBand = 0;       // largest s0..s5 anywhere
};

// spectrum(seconds, bins) fills bins[0..255] for the 512 samples from that time.
using SpectrumAt = std::function<void(double seconds, float* bins)>;
SMusicFigures measureMusic(const SpectrumAt& spectrum, double length, float peak);
// Empty when every target holds, else one line per miss.
std::string missedTargets(const SMusicFigures& figures);
std::string describe(const SMusicFigures& figures);
