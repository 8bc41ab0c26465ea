#include "audio/oggdecoder.h"

#include <SDL.h>

#include <algorithm>
#include <numeric>

#include "audio/audioformat.h"
#include "audio/oggfilecheck.h"

namespace {

constexpr int kChunkFrames = 1024;
// A damaged file may report nothing but holes; give up on it rather than spin.
constexpr int kMaxConsecutiveHoles = 64;
// Real music lies well inside; a rate like 1 Hz would make the conversion take gigabytes.
constexpr long kMinSourceRate = 8000;
constexpr long kMaxSourceRate = 192000;
// Converted frames decoded before a seek's target and dropped, so that the conversion filter has
// settled there: longer than its response at every rate taken.
constexpr int64_t kSettleFrames = 4096;

}  // namespace

COggDecoder::COggDecoder()
    : file(),
      opened(false),
      sourceRate(0),
      outputRate(0),
      lengthFrames(0),
      sourceEnded(false),
      position(0),
      skipFrames(0) {}

COggDecoder::~COggDecoder() {
    close();
}

bool COggDecoder::open(const std::string& path, int rate) {
    close();
    why.clear();
    if (!COggFileCheck::check(path, why)) return false;
    if (ov_fopen(path.c_str(), &file) != 0) return refuse("it is not an Ogg Vorbis file");
    opened = true;
    if (rate < 1) return refuse("no output rate was given");
    if (!checkLinks()) return false;
    vorbis_info* info = ov_info(&file, -1);
    sourceRate = static_cast<int>(info->rate);
    outputRate = rate;
    downmix = std::make_unique<CStereoDownmix>(info->channels);
    // Within the checked length, so the product stays far inside 64 bits; rounded as the
    // converter rounds the length it gives.
    ogg_int64_t total = ov_pcm_total(&file, -1);
    lengthFrames = total > 0 ? (total * outputRate + sourceRate / 2) / sourceRate : 0;
    stereoScratch.resize(2 * kChunkFrames);
    if (sourceRate == outputRate) return true;
    converter = std::make_unique<CRateConverter>(sourceRate, outputRate);
    return converter->isReady() || refuse("no rate converter");
}

bool COggDecoder::refuse(const std::string& reason) {
    why = reason;
    close();
    return false;
}

// Every chained part: a rate the converter can take, channels to mix, and no more music in all
// than the player takes, whatever the last pages claim.
bool COggDecoder::checkLinks() {
    double seconds = 0;
    for (long link = 0; link < ov_streams(&file); ++link) {
        vorbis_info* info = ov_info(&file, static_cast<int>(link));
        if (info == nullptr || info->channels < 1) return refuse("it has a part without channels");
        if (info->rate < kMinSourceRate || info->rate > kMaxSourceRate)
            return refuse("its sample rate of " + std::to_string(info->rate) +
                          " Hz lies outside 8000 to 192000 Hz");
        seconds += std::max<double>(ov_pcm_total(&file, static_cast<int>(link)), 0) / info->rate;
    }
    if (seconds <= audioformat::kMaxMusicSeconds) return true;
    return refuse("it declares " + std::to_string(static_cast<long long>(std::min(seconds, 1e15))) +
                  " s of music, more than the " + std::to_string(audioformat::kMaxMusicSeconds) +
                  " s the player takes");
}

void COggDecoder::close() {
    converter.reset();
    if (opened) ov_clear(&file);
    opened = false;
    sourceEnded = false;
    position = 0;
    skipFrames = 0;
    lengthFrames = 0;
    downmix.reset();
}

int COggDecoder::read(int16_t* stereo, int frames) {
    if (!opened || frames <= 0) return 0;
    if (converter != nullptr) return readConverted(stereo, frames);
    int produced = 0;
    while (produced < frames) {
        int got = readSource(stereo + 2 * produced, frames - produced);
        if (got == 0) break;
        produced += got;
    }
    return produced;
}

// At most one packet's worth of the file's own rate, mixed to stereo; 0 at the end.
int COggDecoder::readSource(int16_t* stereo, int frames) {
    int holes = 0;
    while (true) {
        vorbis_info* info = ov_info(&file, -1);
        if (info == nullptr) return 0;
        // A chained file may change its channel count from one link to the next.
        if (info->channels != downmix->channels())
            downmix = std::make_unique<CStereoDownmix>(info->channels);
        int frameBytes = 2 * downmix->channels();
        int wanted = std::min(frames, kChunkFrames) * frameBytes;
        if (sourceBytes.size() < static_cast<size_t>(wanted)) sourceBytes.resize(wanted);
        int bitstream = 0;
        long got = ov_read(&file, sourceBytes.data(), wanted, SDL_BYTEORDER == SDL_BIG_ENDIAN, 2, 1,
                           &bitstream);
        if (got == OV_HOLE && ++holes < kMaxConsecutiveHoles) continue;
        if (got <= 0) return 0;
        int count = static_cast<int>(got / frameBytes);
        downmix->mix(reinterpret_cast<const int16_t*>(sourceBytes.data()), count, stereo);
        return count;
    }
}

// Never past the length, which the converter may overshoot by a frame where it rounds the other
// way.
int COggDecoder::readConverted(int16_t* stereo, int frames) {
    int produced = 0;
    while (produced < frames && position < lengthFrames) {
        int64_t wanted = std::min<int64_t>(frames - produced, lengthFrames - position);
        int got = takeConverted(stereo + 2 * produced, static_cast<int>(wanted));
        if (got == 0) break;
        produced += got;
        position += got;
    }
    return produced;
}

// Converted frames from the position on, feeding the converter as it runs dry; 0 at the end.
int COggDecoder::takeConverted(int16_t* stereo, int frames) {
    while (true) {
        int wanted =
            static_cast<int>(std::min<int64_t>(frames, skipFrames > 0 ? skipFrames : frames));
        int got = converter->take(stereo, wanted);
        if (got > 0 && skipFrames > 0) {
            skipFrames -= got;
            continue;
        }
        if (got > 0 || sourceEnded) return got;
        int read = readSource(stereoScratch.data(), kChunkFrames);
        if (read == 0) {
            sourceEnded = true;
            converter->finish();
        } else {
            converter->put(stereoScratch.data(), read);
        }
    }
}

bool COggDecoder::seek(int64_t frame) {
    if (!opened || frame < 0 || frame > lengthFrames) return false;
    if (lengthFrames == 0) return true;  // nothing to decode, nothing to move
    if (converter != nullptr) return seekConverted(frame);
    if (ov_pcm_seek(&file, frame) != 0) return false;
    sourceEnded = false;
    return true;
}

// The conversion starts again on an output frame that falls on a source frame, far enough before
// the target for its filter to settle, and drops what lies before the target: what comes out from
// there is what an unbroken conversion gives.
bool COggDecoder::seekConverted(int64_t frame) {
    int64_t common = std::gcd(sourceRate, outputRate);
    int64_t step = outputRate / common;  // output frames that span a whole number of source frames
    int64_t start = std::max<int64_t>(frame - kSettleFrames, 0);
    start -= start % step;
    if (ov_pcm_seek(&file, start / step * (sourceRate / common)) != 0) return false;
    converter->restart();
    sourceEnded = false;
    skipFrames = frame - start;
    position = frame;
    return true;
}
