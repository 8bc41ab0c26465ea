// Whole-track processing of the mix: echo, ducking under the kick, fades, the peak limiter
// and measurements. Each function works in place on a finished track.
#pragma once

#include <vector>

#include "stereotrack.h"

namespace masterbus {

// Replaces the track by its echoes: left and right alternate every `delay` seconds.
void pingPongDelay(CStereoTrack& track, double delay, float feedback);
struct SDuck {
    double at;    // seconds
    float depth;  // 0..1, how far the track is lowered at once
};
// Lowers the track after each kick, recovering over `recovery` seconds; `scale` scales depths.
void duck(CStereoTrack& track, const std::vector<SDuck>& kicks, float scale, float recovery);
// Gain 1 before `from`, falling smoothly to 0 at `to` and staying there.
void fadeOut(CStereoTrack& track, double from, double to);
// Soft saturation, tanh(drive x) / drive: quiet parts pass, peaks are rounded off.
void saturate(CStereoTrack& track, float drive);
// Keeps every sample within +-ceiling with a look-ahead gain that dips smoothly around peaks.
void limit(CStereoTrack& track, float ceiling);
float peak(const CStereoTrack& track);

}  // namespace masterbus
