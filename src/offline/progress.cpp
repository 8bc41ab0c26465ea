#include "offline/progress.h"

#include <algorithm>

namespace {

const double kQuietSeconds = 1.0;   // short runs show only the summary
const double kRedrawSeconds = 0.1;  // at most ten redraws a second

}  // namespace

CProgress::CProgress(FILE* stream, bool isTerminal, int64_t expectedFrames)
    : out(stream), terminal(isTerminal), expected(expectedFrames), lastDrawn(0), drawn(0) {}

void CProgress::update(int64_t framesDone, float showTime, double wallSeconds) {
    if (!terminal || wallSeconds < kQuietSeconds) return;
    if (drawn > 0 && wallSeconds - lastDrawn < kRedrawSeconds) return;
    lastDrawn = wallSeconds;
    ++drawn;
    double fps = static_cast<double>(framesDone) / wallSeconds;
    int64_t left = std::max<int64_t>(expected - framesDone, 0);
    long secondsLeft = fps > 0 ? static_cast<long>(static_cast<double>(left) / fps + 0.5) : 0;
    // Padded so that a shorter line fully covers the one before.
    std::fprintf(out, "\rframe %lld  show %.2f s  %.1f fps  %ld:%02ld left     ",
                 static_cast<long long>(framesDone - 1), static_cast<double>(showTime), fps,
                 secondsLeft / 60, secondsLeft % 60);
    std::fflush(out);
}

void CProgress::finish(const std::string& summary) {
    if (drawn > 0) std::fputc('\n', out);
    std::fprintf(out, "%s\n", summary.c_str());
    std::fflush(out);
}
