#include "oggwriter.h"

#include <vorbis/vorbisenc.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

bool writePages(FILE* file, ogg_stream_state& stream, bool flush) {
    ogg_page page;
    while (flush ? ogg_stream_flush(&stream, &page) : ogg_stream_pageout(&stream, &page)) {
        if (std::fwrite(page.header, 1, page.header_len, file) != size_t(page.header_len))
            return false;
        if (std::fwrite(page.body, 1, page.body_len, file) != size_t(page.body_len)) return false;
    }
    return true;
}

// Hands `count` frames from `first` to the encoder (0 frames marks the end) and writes out
// whatever pages are complete.
bool encodeBlock(FILE* file, const CStereoTrack& track, size_t first, size_t count,
                 vorbis_dsp_state& dsp, vorbis_block& block, ogg_stream_state& stream) {
    if (count > 0) {
        float** buffer = vorbis_analysis_buffer(&dsp, int(count));
        for (size_t i = 0; i < count; ++i) {
            buffer[0][i] = track.left[first + i];
            buffer[1][i] = track.right[first + i];
        }
    }
    vorbis_analysis_wrote(&dsp, int(count));
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
        vorbis_analysis(&block, nullptr);
        vorbis_bitrate_addblock(&block);
        ogg_packet packet;
        while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
            ogg_stream_packetin(&stream, &packet);
            if (!writePages(file, stream, false)) return false;
        }
    }
    return true;
}

}  // namespace

bool writeOgg(const std::string& path, const CStereoTrack& track, float quality,
              const std::string& title) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    vorbis_info info;
    vorbis_info_init(&info);
    bool ok = vorbis_encode_init_vbr(&info, 2, kSampleRate, quality) == 0;
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_comment_add_tag(&comment, "TITLE", title.c_str());
    vorbis_comment_add_tag(&comment, "ARTIST", "Tarvok");
    vorbis_dsp_state dsp;
    vorbis_block block;
    ogg_stream_state stream;
    if (ok) {
        vorbis_analysis_init(&dsp, &info);
        vorbis_block_init(&dsp, &block);
        ogg_stream_init(&stream, kOggSerial);
        ogg_packet header, headerComment, headerCode;
        vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
        ogg_stream_packetin(&stream, &header);
        ogg_stream_packetin(&stream, &headerComment);
        ogg_stream_packetin(&stream, &headerCode);
        ok = writePages(file, stream, true);
        const size_t chunk = 4096;
        for (size_t first = 0; ok && first < track.size(); first += chunk)
            ok = encodeBlock(file, track, first, std::min(chunk, track.size() - first), dsp, block,
                             stream);
        ok = ok && encodeBlock(file, track, 0, 0, dsp, block, stream) &&
             writePages(file, stream, true);
        ogg_stream_clear(&stream);
        vorbis_block_clear(&block);
        vorbis_dsp_clear(&dsp);
    }
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return std::fclose(file) == 0 && ok;
}

SDecodedOgg decodeOggPeak(const std::string& path) {
    SDecodedOgg result;
    OggVorbis_File file;
    if (ov_fopen(path.c_str(), &file) != 0) return result;
    const int channels = ov_info(&file, -1)->channels;
    long frames = 0;
    int section = 0;
    float** pcm = nullptr;
    while (long got = ov_read_float(&file, &pcm, 4096, &section)) {
        if (got < 0) break;
        for (int c = 0; c < channels; ++c)
            for (long i = 0; i < got; ++i) result.peak = std::max(result.peak, std::abs(pcm[c][i]));
        frames += got;
    }
    result.seconds = double(frames) / ov_info(&file, -1)->rate;
    result.ok = frames > 0;
    ov_clear(&file);
    return result;
}
