#include "audio/oggdecoder.h"

#include <SDL.h>

#include <algorithm>

#include "audio/audioformat.h"
#include "audio/oggfilecheck.h"

namespace {

constexpr int kChunkFrames = 1024;
// A damaged file may report nothing but holes; give up on it rather than spin.
constexpr int kMaxConsecutiveHoles = 64;
// Real music lies well inside; a rate like 1 Hz would make the conversion take gigabytes.
constexpr long kMinSourceRate = 8000;
constexpr long kMaxSourceRate = 192000;

}  // namespace

COggDecoder::COggDecoder()
    : file(),
      opened(false),
      sourceRate(0),
      outputRate(0),
      lengthFrames(0),
      resampler(nullptr),
      sourceEnded(false) {}

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
    downmix.reset(new CStereoDownmix(info->channels));
    // Within the checked length, so the product stays far inside 64 bits.
    ogg_int64_t total = ov_pcm_total(&file, -1);
    lengthFrames = total > 0 ? total * outputRate / sourceRate : 0;
    stereoScratch.resize(2 * kChunkFrames);
    if (sourceRate != outputRate && !openResampler()) return refuse("no rate converter");
    return true;
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

bool COggDecoder::openResampler() {
    resampler = SDL_NewAudioStream(AUDIO_S16SYS, 2, sourceRate, AUDIO_S16SYS, 2, outputRate);
    return resampler != nullptr;
}

void COggDecoder::close() {
    if (resampler != nullptr) SDL_FreeAudioStream(resampler);
    resampler = nullptr;
    if (opened) ov_clear(&file);
    opened = false;
    sourceEnded = false;
    lengthFrames = 0;
    downmix.reset();
}

int COggDecoder::read(int16_t* stereo, int frames) {
    if (!opened || frames <= 0) return 0;
    if (resampler != nullptr) return readResampled(stereo, frames);
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
            downmix.reset(new CStereoDownmix(info->channels));
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

int COggDecoder::readResampled(int16_t* stereo, int frames) {
    int produced = 0;
    while (produced < frames) {
        int available = SDL_AudioStreamAvailable(resampler) / 4;
        if (available > 0) {
            int take = std::min(available, frames - produced) * 4;
            int got = SDL_AudioStreamGet(resampler, stereo + 2 * produced, take);
            if (got <= 0) break;
            produced += got / 4;
            continue;
        }
        if (sourceEnded) break;
        int got = readSource(stereoScratch.data(), kChunkFrames);
        if (got == 0) {
            sourceEnded = true;
            SDL_AudioStreamFlush(resampler);
        } else {
            SDL_AudioStreamPut(resampler, stereoScratch.data(), got * 4);
        }
    }
    return produced;
}

bool COggDecoder::seek(int64_t frame) {
    if (!opened || frame < 0 || frame > lengthFrames) return false;
    if (lengthFrames == 0) return true;  // nothing to decode, nothing to move
    int64_t sourceFrame = frame * sourceRate / outputRate;
    if (ov_pcm_seek(&file, sourceFrame) != 0) return false;
    sourceEnded = false;
    if (resampler != nullptr) SDL_AudioStreamClear(resampler);
    return true;
}
