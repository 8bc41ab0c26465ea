#include "reverb.h"

namespace {

const int kCombLengths[8] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
const int kAllPassLengths[4] = {556, 441, 341, 225};
const int kStereoSpread = 23;

}  // namespace

CReverb::CReverb(float roomSize, float damping)
    : feedback(0.7f + 0.28f * roomSize), damping(damping * 0.4f) {
    for (int length : kCombLengths) {
        combsLeft.push_back({std::vector<float>(length, 0.0f)});
        combsRight.push_back({std::vector<float>(length + kStereoSpread, 0.0f)});
    }
    for (int length : kAllPassLengths) {
        allPassLeft.push_back({std::vector<float>(length, 0.0f)});
        allPassRight.push_back({std::vector<float>(length + kStereoSpread, 0.0f)});
    }
}

float CReverb::processChannel(float input, std::vector<SComb>& combs,
                              std::vector<SAllPass>& allPasses) {
    float sum = 0.0f;
    for (SComb& comb : combs) {
        const float delayed = comb.buffer[comb.index];
        comb.store = delayed * (1.0f - damping) + comb.store * damping;
        comb.buffer[comb.index] = input + comb.store * feedback;
        if (++comb.index == comb.buffer.size()) comb.index = 0;
        sum += delayed;
    }
    for (SAllPass& pass : allPasses) {
        const float delayed = pass.buffer[pass.index];
        pass.buffer[pass.index] = sum + delayed * 0.5f;
        if (++pass.index == pass.buffer.size()) pass.index = 0;
        sum = delayed - sum;
    }
    return sum;
}

void CReverb::process(CStereoTrack& track) {
    for (size_t i = 0; i < track.size(); ++i) {
        const float input = (track.left[i] + track.right[i]) * 0.015f;
        track.left[i] = processChannel(input, combsLeft, allPassLeft);
        track.right[i] = processChannel(input, combsRight, allPassRight);
    }
}
