#include "masterbus.h"

#include <algorithm>
#include <cmath>
#include <deque>

namespace masterbus {

void pingPongDelay(CStereoTrack& track, double delay, float feedback) {
    const size_t d = sampleAt(delay);
    std::vector<float> left(track.size(), 0.0f), right(track.size(), 0.0f);
    for (size_t i = d; i < track.size(); ++i) {
        // Mono input enters on the left; each echo crosses to the other side.
        left[i] = (track.left[i - d] + track.right[i - d]) * 0.5f + right[i - d] * feedback;
        right[i] = left[i - d] * feedback;
    }
    track.left.swap(left);
    track.right.swap(right);
}

void duck(CStereoTrack& track, const std::vector<SDuck>& kicks, float scale, float recovery) {
    std::vector<float> gain(track.size(), 1.0f);
    for (const SDuck& kick : kicks) {
        const float depth = kick.depth * scale;
        const size_t start = sampleAt(kick.at), length = sampleAt(recovery * 5.0);
        for (size_t i = 0; i < length && start + i < gain.size(); ++i) {
            const float t = float(i) / kSampleRate;
            const float attack = std::min(1.0f, t / 0.004f);
            gain[start + i] =
                std::min(gain[start + i], 1.0f - depth * attack * std::exp(-t / recovery));
        }
    }
    for (size_t i = 0; i < track.size(); ++i) {
        track.left[i] *= gain[i];
        track.right[i] *= gain[i];
    }
}

void fadeOut(CStereoTrack& track, double from, double to) {
    for (size_t i = sampleAt(from); i < track.size(); ++i) {
        const double x = std::min(1.0, (double(i) / kSampleRate - from) / (to - from));
        const float g = x >= 1.0 ? 0.0f : float(std::pow(std::cos(x * 1.57079633), 2.0));
        track.left[i] *= g;
        track.right[i] *= g;
    }
}

void saturate(CStereoTrack& track, float drive) {
    for (size_t i = 0; i < track.size(); ++i) {
        track.left[i] = std::tanh(drive * track.left[i]) / drive;
        track.right[i] = std::tanh(drive * track.right[i]) / drive;
    }
}

namespace {

// Running minimum over the `window` samples starting at each index.
std::vector<float> forwardMinimum(const std::vector<float>& values, size_t window) {
    std::vector<float> out(values.size());
    std::deque<size_t> candidates;
    for (size_t i = values.size(); i-- > 0;) {
        while (!candidates.empty() && values[candidates.back()] >= values[i]) candidates.pop_back();
        candidates.push_back(i);
        if (candidates.front() >= i + window) candidates.pop_front();
        out[i] = values[candidates.front()];
    }
    return out;
}

}  // namespace

void limit(CStereoTrack& track, float ceiling) {
    const size_t window = sampleAt(0.003);
    std::vector<float> needed(track.size());
    for (size_t i = 0; i < track.size(); ++i) {
        const float level = std::max(std::abs(track.left[i]), std::abs(track.right[i]));
        needed[i] = level > ceiling ? ceiling / level : 1.0f;
    }
    const std::vector<float> ahead = forwardMinimum(needed, window);
    // The mean of `window` look-ahead minima never exceeds what any sample in reach needs.
    const float release = 1.0f - std::exp(-1.0f / (0.08f * kSampleRate));
    double sum = 0.0;
    float gain = 1.0f;
    for (size_t i = 0; i < track.size(); ++i) {
        sum += ahead[i];
        if (i >= window) sum -= ahead[i - window];
        const float smooth = float(sum / double(std::min(i + 1, window)));
        gain = std::min(std::min(smooth, needed[i]), gain + (1.0f - gain) * release);
        // The clamp only catches the last bit of rounding in ceiling / level * level.
        track.left[i] = std::clamp(track.left[i] * gain, -ceiling, ceiling);
        track.right[i] = std::clamp(track.right[i] * gain, -ceiling, ceiling);
    }
}

float peak(const CStereoTrack& track) {
    float p = 0.0f;
    for (size_t i = 0; i < track.size(); ++i)
        p = std::max({p, std::abs(track.left[i]), std::abs(track.right[i])});
    return p;
}

}  // namespace masterbus
