// The show's timeline: its five scenes in order, each with its name, its window on the show's
// clock and how it is made. CDemo builds the scenes from it; offline runs name their figures
// after it. Making a scene allocates only; init is the caller's.
#pragma once

#include <cstddef>
#include <memory>

class CScene;

struct STimelineSlot {
    const char* name;
    float start;     // seconds of show time
    float duration;  // seconds
    std::unique_ptr<CScene> (*make)();
};

constexpr size_t kTimelineLength = 5;
extern const STimelineSlot kTimeline[kTimelineLength];
