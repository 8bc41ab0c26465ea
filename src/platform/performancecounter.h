// The platform's high-resolution tick counter, the show's real clock source. Stateless;
// safe to share.
#pragma once

#include "math/ticksource.h"

class CPerformanceCounter : public CTickSource {
public:
    int64_t counter() override;
    int64_t frequency() override;
};
