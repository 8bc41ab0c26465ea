#include "audio/rateconverter.h"

#include <soxr.h>

#include <algorithm>

namespace {

// The library reads its output argument as a table of channel pointers even for interleaved
// samples, so it always gets a buffer of its own, never a caller's possibly tiny one.
constexpr int kScratchFrames = 1024;

}  // namespace

void CRateConverter::Release::operator()(soxr* converter) const {
    soxr_delete(converter);
}

CRateConverter::CRateConverter(int fromRate, int toRate)
    : converter(), finished(false), scratch(2 * kScratchFrames) {
    // No dither: the same file always gives the same samples, so offline runs repeat exactly.
    soxr_io_spec_t io = soxr_io_spec(SOXR_INT16_I, SOXR_INT16_I);
    io.flags |= SOXR_NO_DITHER;
    soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
    soxr_runtime_spec_t runtime = soxr_runtime_spec(1);
    soxr_error_t error = nullptr;
    converter.reset(soxr_create(fromRate, toRate, 2, &error, &io, &quality, &runtime));
    if (error != nullptr) converter.reset();
}

// All of the input is taken in at once (no idone): the library keeps what it cannot yet turn
// into output, and take() collects it.
void CRateConverter::put(const int16_t* stereo, int frames) {
    if (converter == nullptr || finished || frames <= 0) return;
    size_t produced = 0;
    soxr_process(converter.get(), stereo, static_cast<size_t>(frames), nullptr, scratch.data(), 0,
                 &produced);
}

void CRateConverter::finish() {
    finished = true;
}

// Input of length 0 only collects output; a null input asks for the rest (the flush).
int CRateConverter::take(int16_t* stereo, int frames) {
    if (converter == nullptr || frames <= 0) return 0;
    static const int16_t kNoInput = 0;
    size_t produced = 0;
    soxr_process(converter.get(), finished ? nullptr : &kNoInput, 0, nullptr, scratch.data(),
                 static_cast<size_t>(std::min(frames, kScratchFrames)), &produced);
    std::copy(scratch.begin(), scratch.begin() + 2 * static_cast<long>(produced), stereo);
    return static_cast<int>(produced);
}

void CRateConverter::restart() {
    if (converter != nullptr) soxr_clear(converter.get());
    finished = false;
}
