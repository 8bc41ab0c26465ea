// Decodes an Ogg Vorbis file piece by piece into 16-bit stereo at a chosen rate: mixes other
// channel counts down, converts other rates without losing time, skips corrupt pages. Refuses files
// the library would mishandle, rates outside 8 to 192 kHz and music longer than
// audioformat::kMaxMusicSeconds. Does not play anything. Not thread-safe: one thread at a time uses
// an instance.
#pragma once

#include <vorbis/vorbisfile.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "audio/rateconverter.h"
#include "audio/stereodownmix.h"

class COggDecoder {
public:
    COggDecoder();
    ~COggDecoder();
    COggDecoder(const COggDecoder&) = delete;
    COggDecoder& operator=(const COggDecoder&) = delete;

    // False for a missing, unreadable, refused or non-Vorbis file; problem() then says why.
    bool open(const std::string& path, int outputRate);
    const std::string& problem() const { return why; }
    void close();
    bool isOpen() const { return opened; }

    // Fills up to `frames` stereo frames; fewer only at the end of the file (0 there).
    int read(int16_t* stereo, int frames);
    // Continues decoding from that output frame, with the samples an unbroken read gives there;
    // false past the end or when the file refuses.
    bool seek(int64_t frame);
    // Length in output frames: the file's, converted to the output rate and rounded.
    int64_t length() const { return lengthFrames; }

private:
    int readSource(int16_t* stereo, int frames);
    int readConverted(int16_t* stereo, int frames);
    int takeConverted(int16_t* stereo, int frames);
    bool seekConverted(int64_t frame);
    bool refuse(const std::string& reason);
    bool checkLinks();

    OggVorbis_File file;
    bool opened;
    int sourceRate;
    int outputRate;
    int64_t lengthFrames;
    std::unique_ptr<CStereoDownmix> downmix;
    std::unique_ptr<CRateConverter> converter;  // only when the file's rate is not the output rate
    bool sourceEnded;
    int64_t position;    // the output frame the next read gives (converted files)
    int64_t skipFrames;  // converted frames still to drop before the position
    std::vector<char> sourceBytes;
    std::vector<int16_t> stereoScratch;
    std::string why;
};
