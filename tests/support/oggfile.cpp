#include "support/oggfile.h"

#include <vorbis/vorbisenc.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace {

void writePages(ogg_stream_state& stream, FILE* out, bool flush) {
    ogg_page page;
    while (flush ? ogg_stream_flush(&stream, &page) : ogg_stream_pageout(&stream, &page)) {
        fwrite(page.header, 1, page.header_len, out);
        fwrite(page.body, 1, page.body_len, out);
    }
}

void writeHeaders(vorbis_dsp_state& dsp, vorbis_comment& comment, ogg_stream_state& stream,
                  FILE* out) {
    ogg_packet id, comments, codebooks;
    vorbis_analysis_headerout(&dsp, &comment, &id, &comments, &codebooks);
    ogg_stream_packetin(&stream, &id);
    ogg_stream_packetin(&stream, &comments);
    ogg_stream_packetin(&stream, &codebooks);
    writePages(stream, out, true);
}

void encodeBlocks(vorbis_dsp_state& dsp, vorbis_block& block, ogg_stream_state& stream, FILE* out) {
    ogg_packet packet;
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
        vorbis_analysis(&block, nullptr);
        vorbis_bitrate_addblock(&block);
        while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
            ogg_stream_packetin(&stream, &packet);
            writePages(stream, out, false);
        }
    }
}

void submit(vorbis_dsp_state& dsp, const std::vector<float>& samples, int channels, long first,
            long count) {
    float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
    for (long f = 0; f < count; ++f)
        for (int c = 0; c < channels; ++c) buffer[c][f] = samples[(first + f) * channels + c];
    vorbis_analysis_wrote(&dsp, static_cast<int>(count));
}

}  // namespace

bool writeOgg(const std::string& path, const std::vector<float>& samples, int channels, int rate) {
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, rate, 0.5f) != 0) return false;
    FILE* out = fopen(path.c_str(), "wb");
    if (out == nullptr) return false;
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1337);
    writeHeaders(dsp, comment, stream, out);
    long frames = static_cast<long>(samples.size()) / channels;
    for (long first = 0; first < frames; first += 1024) {
        submit(dsp, samples, channels, first, std::min(1024L, frames - first));
        encodeBlocks(dsp, block, stream, out);
    }
    vorbis_analysis_wrote(&dsp, 0);
    encodeBlocks(dsp, block, stream, out);
    writePages(stream, out, true);
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return fclose(out) == 0;
}

std::vector<int16_t> decodeOgg(const std::string& path) {
    std::vector<int16_t> samples;
    OggVorbis_File file;
    if (ov_fopen(path.c_str(), &file) != 0) return samples;
    char buffer[8192];
    int bitstream = 0;
    long got;
    while ((got = ov_read(&file, buffer, sizeof buffer, 0, 2, 1, &bitstream)) != 0) {
        if (got < 0) continue;  // a hole: the samples after it still count
        const int16_t* decoded = reinterpret_cast<const int16_t*>(buffer);
        samples.insert(samples.end(), decoded, decoded + got / 2);
    }
    ov_clear(&file);
    return samples;
}

std::vector<int16_t> readRecording(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<int16_t> samples(bytes.size() / 2);
    std::copy(bytes.begin(), bytes.begin() + 2 * samples.size(),
              reinterpret_cast<char*>(samples.data()));
    return samples;
}

size_t findStart(const std::vector<int16_t>& recorded, const std::vector<int16_t>& expected) {
    const size_t probe = std::min<size_t>(2 * 2048, expected.size());
    for (size_t start = 0; start + probe <= recorded.size(); start += 2)
        if (std::equal(expected.begin(), expected.begin() + probe, recorded.begin() + start))
            return start;
    return std::string::npos;
}

std::vector<float> testMusic(int frames, int rate) {
    std::vector<float> samples(2 * static_cast<size_t>(frames));
    uint32_t noise = 12345;
    const double pi = std::acos(-1.0);
    for (int f = 0; f < frames; ++f) {
        double t = static_cast<double>(f) / rate;
        noise = noise * 1664525u + 1013904223u;
        double hiss = (static_cast<double>(noise >> 8) / (1 << 24) - 0.5) * 0.1;
        double swell = 0.5 + 0.4 * std::sin(2 * pi * 0.7 * t);
        samples[2 * f] = static_cast<float>(swell * 0.5 * std::sin(2 * pi * 220 * t) + hiss);
        samples[2 * f + 1] = static_cast<float>(0.4 * std::sin(2 * pi * (330 + 40 * t) * t) + hiss);
    }
    return samples;
}
