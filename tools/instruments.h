// The synthesiser's voices: drums made from swept sines and filtered noise, and pitched
// instruments made from band-limited oscillators. Each call adds one note into a track;
// nothing is kept between calls, so the same note always gives the same samples.
#pragma once

#include <cstdint>
#include <vector>

#include "stereotrack.h"

namespace instruments {

struct SNote {
    double at;      // start, seconds
    double length;  // held, seconds (the release comes after)
    float midi;     // pitch as a MIDI note number
    float gain;
};

// A deep kick: a sine swept down to about 46 Hz with a short click.
void kick(CStereoTrack& out, double at, float gain);
void clap(CStereoTrack& out, double at, float gain, uint32_t seed);
// Closed (short decay) or open (long decay) hi-hat.
void hat(CStereoTrack& out, double at, float gain, float decay, uint32_t seed);
void snare(CStereoTrack& out, double at, float gain, uint32_t seed);
void crash(CStereoTrack& out, double at, float gain, uint32_t seed);
// Noise swept upward through a band-pass, growing louder until at + length.
void riser(CStereoTrack& out, double at, double length, float gain, uint32_t seed);

// Sine sub an octave below a filtered saw; brightness 0..1 opens the filter.
void bass(CStereoTrack& out, const SNote& note, float brightness);
// A wide detuned-saw chord; the low-pass moves from cutoffStart to cutoffEnd over the chord.
void pad(CStereoTrack& out, double at, double length, const std::vector<int>& chord, float gain,
         float cutoffStart, float cutoffEnd);
// Steady sine tones with a soft second harmonic: an organ under the pad that keeps the lower
// mids full without adding much to the peaks.
void organ(CStereoTrack& out, double at, double length, const std::vector<int>& chord, float gain);
// A short plucked saw-square note, placed at pan -1..1.
void pluck(CStereoTrack& out, const SNote& note, float cutoff, float pan);
// A singing lead: two detuned saws with delayed vibrato.
void lead(CStereoTrack& out, const SNote& note);

}  // namespace instruments
