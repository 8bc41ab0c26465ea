// Test support: a tick source that returns scripted counter values, one per reading, and a
// fixed value once the script is used up.
#pragma once

#include <cstdint>
#include <deque>

#include "math/ticksource.h"

class ScriptedTicks : public CTickSource {
public:
    explicit ScriptedTicks(int64_t frequency) : rate(frequency) {}

    int64_t counter() override {
        ++reads;
        if (!script.empty()) {
            last = script.front();
            script.pop_front();
        } else {
            last = after;
        }
        return last;
    }
    int64_t frequency() override { return rate; }

    std::deque<int64_t> script;
    int64_t after = 0;  // returned once the script is empty
    int64_t last = 0;
    int reads = 0;

private:
    int64_t rate;
};
