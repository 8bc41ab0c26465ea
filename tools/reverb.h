// A stereo room reverb of parallel damped combs and series all-passes (the classic design),
// fixed at 44100 Hz. Turns a send track into its wet signal in place.
#pragma once

#include <vector>

#include "stereotrack.h"

class CReverb {
public:
    // roomSize 0..1 sets the tail's length, damping 0..1 how fast highs die away.
    CReverb(float roomSize, float damping);
    void process(CStereoTrack& track);

private:
    struct SComb {
        std::vector<float> buffer;
        size_t index = 0;
        float store = 0.0f;
    };
    struct SAllPass {
        std::vector<float> buffer;
        size_t index = 0;
    };
    float processChannel(float input, std::vector<SComb>& combs, std::vector<SAllPass>& allPasses);

    float feedback;
    float damping;
    std::vector<SComb> combsLeft, combsRight;
    std::vector<SAllPass> allPassLeft, allPassRight;
};
