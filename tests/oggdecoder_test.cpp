#include "audio/oggdecoder.h"

#include <gtest/gtest.h>
#include <ogg/ogg.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <vector>

#include "support/oggfile.h"

namespace {

// Every read but the last must come back full: a short one tells the player the file ended.
std::vector<int16_t> readAll(COggDecoder& decoder, int piece = 1000) {
    std::vector<int16_t> all;
    std::vector<int16_t> buffer(2 * piece);
    int last = piece;
    while (int got = decoder.read(buffer.data(), piece)) {
        EXPECT_EQ(last, piece) << "a short read before the end, at frame " << all.size() / 2;
        all.insert(all.end(), buffer.begin(), buffer.begin() + 2 * got);
        last = got;
    }
    return all;
}

std::vector<float> tone(int frames, int channels, int rate, const std::vector<float>& gains,
                        double hz = 440) {
    std::vector<float> samples(static_cast<size_t>(frames) * channels);
    for (int f = 0; f < frames; ++f)
        for (int c = 0; c < channels; ++c)
            samples[f * channels + c] =
                gains[c] * static_cast<float>(std::sin(f * 2 * 3.14159265358979 * hz / rate));
    return samples;
}

// The phase, in degrees, of a `hz` sine in the left channel over one second ending a quarter
// second before the end, against a sine that began at frame 0: near 0 while the sound keeps time.
double phaseNearTheEnd(const std::vector<int16_t>& stereo, double hz) {
    const double pi = std::acos(-1.0);
    int64_t end = static_cast<int64_t>(stereo.size() / 2) - 44100 / 4;
    double along = 0, across = 0;
    for (int64_t f = end - 44100; f < end; ++f) {
        along += stereo[2 * f] * std::sin(2 * pi * hz * f / 44100);
        across += stereo[2 * f] * std::cos(2 * pi * hz * f / 44100);
    }
    return std::atan2(across, along) * 180 / pi;
}

// Edits the first or the last page of a file in place and makes its checksum good again, so that
// only the edited field is wrong.
void editPage(const std::string& path, bool last,
              const std::function<void(unsigned char* header, unsigned char* body)>& edit) {
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
    in.close();
    ogg_page page{};
    for (size_t at = 0; at + 27 <= bytes.size();) {
        size_t headerBytes = 27 + bytes[at + 26], bodyBytes = 0;
        for (size_t i = 27; i < headerBytes; ++i) bodyBytes += bytes[at + i];
        page = {&bytes[at], static_cast<long>(headerBytes), &bytes[at + headerBytes],
                static_cast<long>(bodyBytes)};
        if (!last) break;
        at += headerBytes + bodyBytes;
    }
    edit(page.header, page.body);
    ogg_page_checksum_set(&page);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
}

void putLittleEndian(unsigned char* at, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) at[i] = static_cast<unsigned char>(value >> (8 * i));
}

// A short good file whose identification header claims another sample rate.
std::string withRate(uint32_t rate) {
    std::string path = scratchPath("rate" + std::to_string(rate) + ".ogg");
    writeOgg(path, testMusic(4410, 44100), 2, 44100);
    editPage(path, false,
             [&](unsigned char*, unsigned char* body) { putLittleEndian(body + 12, rate, 4); });
    return path;
}

// A good file of a few pages whose last page claims the stream ends at `granule` samples.
std::string withLastGranule(uint64_t granule) {
    std::string path = scratchPath("granule" + std::to_string(granule) + ".ogg");
    writeOgg(path, testMusic(88200, 44100), 2, 44100);
    editPage(path, true, [&](unsigned char* header, unsigned char*) {
        putLittleEndian(header + 6, granule, 8);
    });
    return path;
}

// A good file of a few pages cut to half its length, as an interrupted copy leaves it.
std::string cutInHalf() {
    std::string path = scratchPath("cut.ogg");
    writeOgg(path, testMusic(88200, 44100), 2, 44100);
    std::filesystem::resize_file(path, std::filesystem::file_size(path) / 2);
    return path;
}

std::string damaged(const std::string& name) {
    return std::string(VEXMORO_REGRESSIONS) + "/ogg/" + name;
}

double rms(const std::vector<int16_t>& stereo, int channel) {
    double sum = 0;
    for (size_t i = channel; i < stereo.size(); i += 2) sum += double(stereo[i]) * stereo[i];
    return std::sqrt(sum / (stereo.size() / 2));
}

}  // namespace

TEST(OggDecoder, StereoAtTheOutputRateDecodesExactly) {
    std::string path = scratchPath("exact.ogg");
    ASSERT_TRUE(writeOgg(path, testMusic(30000, 44100), 2, 44100));
    COggDecoder decoder;
    ASSERT_TRUE(decoder.open(path, 44100));
    std::vector<int16_t> reference = decodeOgg(path);
    EXPECT_EQ(decoder.length(), 30000);
    EXPECT_EQ(readAll(decoder, 777), reference);
}

TEST(OggDecoder, SeekingGivesTheSamplesFromThere) {
    std::string path = scratchPath("seek.ogg");
    ASSERT_TRUE(writeOgg(path, testMusic(40000, 44100), 2, 44100));
    std::vector<int16_t> reference = decodeOgg(path);
    COggDecoder decoder;
    ASSERT_TRUE(decoder.open(path, 44100));
    for (int64_t frame : {12345, 0, 39999, 40000, 22050}) {
        ASSERT_TRUE(decoder.seek(frame)) << frame;
        std::vector<int16_t> expected(reference.begin() + 2 * frame, reference.end());
        EXPECT_EQ(readAll(decoder), expected) << frame;
    }
    EXPECT_FALSE(decoder.seek(40001));
    EXPECT_FALSE(decoder.seek(-1));
}

// A converted file seeks to the samples an unbroken read gives there, to the last bit of
// rounding: the show's start and the spectrum stay where the music is.
TEST(OggDecoder, SeekingAConvertedFileLandsOnTheSamplesOfAnUnbrokenRead) {
    for (int rate : {48000, 8000}) {
        SCOPED_TRACE(rate);
        std::string path = scratchPath("seek-converted.ogg");
        ASSERT_TRUE(writeOgg(path, testMusic(rate * 2, rate), 2, rate));
        COggDecoder decoder;
        ASSERT_TRUE(decoder.open(path, 44100));
        std::vector<int16_t> unbroken = readAll(decoder);
        ASSERT_EQ(static_cast<int64_t>(unbroken.size() / 2), decoder.length());
        for (int64_t frame : {int64_t(12345), int64_t(1), int64_t(0), decoder.length() - 7}) {
            ASSERT_TRUE(decoder.seek(frame)) << frame;
            std::vector<int16_t> after = readAll(decoder);
            ASSERT_EQ(after.size(), unbroken.size() - 2 * frame) << frame;
            int worst = 0;
            for (size_t i = 0; i < after.size(); ++i)
                worst = std::max(worst, std::abs(after[i] - unbroken[2 * frame + i]));
            EXPECT_LE(worst, 1) << frame;
        }
    }
}

// Mono is duplicated; 5.1 puts its centre into both sides and drops the LFE channel.
TEST(OggDecoder, OtherChannelCountsAreMixedToStereo) {
    struct Case {
        int channels;
        std::vector<float> gains;
        double leftOverRight;
    };
    const Case cases[] = {
        {1, {0.5f}, 1.0},
        {3, {0.6f, 0.0f, 0.0f}, -1},                     // left only
        {6, {0.0f, 0.6f, 0.0f, 0.0f, 0.0f, 0.0f}, 1.0},  // centre only
        {6, {0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.9f}, 0},    // LFE only: silence
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.channels);
        std::string path = scratchPath("channels.ogg");
        ASSERT_TRUE(writeOgg(path, tone(20000, c.channels, 44100, c.gains), c.channels, 44100));
        COggDecoder decoder;
        ASSERT_TRUE(decoder.open(path, 44100));
        std::vector<int16_t> stereo = readAll(decoder);
        ASSERT_EQ(stereo.size(), 2u * 20000);
        double left = rms(stereo, 0), right = rms(stereo, 1);
        if (c.leftOverRight == 0) {
            EXPECT_LT(left + right, 100);
        } else if (c.leftOverRight < 0) {
            EXPECT_GT(left, 3000);
            EXPECT_LT(right, 100);
        } else {
            EXPECT_GT(left, 3000);
            EXPECT_NEAR(left / right, 1.0, 0.01);
        }
    }
    std::string mono = scratchPath("mono.ogg");
    ASSERT_TRUE(writeOgg(mono, tone(5000, 1, 44100, {0.5f}), 1, 44100));
    COggDecoder decoder;
    ASSERT_TRUE(decoder.open(mono, 44100));
    std::vector<int16_t> stereo = readAll(decoder), reference = decodeOgg(mono);
    ASSERT_EQ(stereo.size(), 2 * reference.size());
    for (size_t f = 0; f < reference.size(); ++f) {
        ASSERT_EQ(stereo[2 * f], reference[f]) << f;
        ASSERT_EQ(stereo[2 * f + 1], reference[f]) << f;
    }
}

// Every rate and channel count comes out at 44.1 kHz with the length of its time, however it is
// read, and a 40 Hz tone is still in phase near the end: no samples lost on the way (which once
// put 48 kHz music 9 ms ahead of the picture every 10 s).
TEST(OggDecoder, OtherRatesKeepTimeToTheSample) {
    const int seconds = 8;
    for (int rate : {8000, 22050, 44100, 48000, 96000}) {
        for (int channels : {1, 2}) {
            SCOPED_TRACE(std::to_string(rate) + " Hz, " + std::to_string(channels) + " channels");
            std::string path = scratchPath("rate.ogg");
            std::vector<float> gains(channels, 0.5f);
            ASSERT_TRUE(
                writeOgg(path, tone(rate * seconds, channels, rate, gains, 40), channels, rate));
            int64_t exact = int64_t(44100) * seconds;
            for (int piece : {4096, 333}) {
                COggDecoder decoder;
                ASSERT_TRUE(decoder.open(path, 44100));
                EXPECT_EQ(decoder.length(), exact);
                std::vector<int16_t> stereo = readAll(decoder, piece);
                EXPECT_NEAR(static_cast<double>(stereo.size() / 2), exact, 1) << piece;
                EXPECT_NEAR(phaseNearTheEnd(stereo, 40), 0, 3) << piece;
            }
        }
    }
}

TEST(OggDecoder, FilesThatAreNotVorbisDoNotOpen) {
    std::string empty = scratchPath("empty.ogg"), text = scratchPath("text.ogg");
    std::ofstream(empty).close();
    std::ofstream(text) << "this is not an Ogg Vorbis file at all, only some text\n";
    COggDecoder decoder;
    EXPECT_FALSE(decoder.open(empty, 44100));
    EXPECT_FALSE(decoder.open(text, 44100));
    EXPECT_FALSE(decoder.open(scratchPath("missing.ogg"), 44100));
    EXPECT_FALSE(decoder.isOpen());
    std::vector<int16_t> buffer(200);
    EXPECT_EQ(decoder.read(buffer.data(), 100), 0);
}

TEST(OggDecoder, AFileWithoutSamplesPlaysAsNothing) {
    std::string path = scratchPath("nosamples.ogg");
    ASSERT_TRUE(writeOgg(path, {}, 2, 44100));
    COggDecoder decoder;
    ASSERT_TRUE(decoder.open(path, 44100));
    EXPECT_EQ(decoder.length(), 0);
    EXPECT_TRUE(decoder.seek(0));
    EXPECT_TRUE(readAll(decoder).empty());
}

// A page damaged in the middle is a hole: decoding carries on after it.
TEST(OggDecoder, CorruptPagesAreSkipped) {
    std::string path = scratchPath("hole.ogg");
    ASSERT_TRUE(writeOgg(path, testMusic(88200, 44100), 2, 44100));
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    size_t middle = bytes.size() / 2;
    for (size_t i = middle; i < middle + 64; ++i) bytes[i] = static_cast<char>(bytes[i] ^ 0x5a);
    std::ofstream(path, std::ios::binary).write(bytes.data(), bytes.size());
    COggDecoder decoder;
    ASSERT_TRUE(decoder.open(path, 44100));
    std::vector<int16_t> stereo = readAll(decoder);
    EXPECT_GT(stereo.size() / 2, 88200u * 3 / 4);
    EXPECT_LT(stereo.size() / 2, 88200u);
}

// Each is refused at open with its reason, before the library decodes a sample: reading or
// seeking it would divide by zero (the first two), reserve or convert without bound, play at a
// rate nothing can convert, or fall silent at a cut without a word. Were one let through, the
// reads below would end this test.
TEST(OggDecoder, RefusesWhatTheLibraryWouldMishandle) {
    struct Case {
        std::string path;
        const char* reason;
    };
    const Case cases[] = {
        {damaged("ogg-fpe-read.ogg"), "a page hides inside another page"},
        {damaged("ogg-fpe-seek.ogg"), "do not make a complete prefix code"},
        {damaged("ogg-huge-granule.ogg"), "it declares 24932236 s of music"},
        {damaged("ogg-rate1Hz.ogg"), "sample rate of 1 Hz lies outside"},
        {withRate(7999), "sample rate of 7999 Hz"},
        {withRate(192001), "sample rate of 192001 Hz"},
        {withLastGranule(uint64_t(1) << 62), "s of music, more than the 3600 s"},
        {withLastGranule(INT64_MAX), "s of music, more than the 3600 s"},
        {cutInHalf(), "it is cut short"},
        {scratchPath(""), "not a regular file"},
        {scratchPath("missing.ogg"), "No such file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        COggDecoder decoder;
        EXPECT_FALSE(decoder.open(c.path, 44100));
        EXPECT_NE(decoder.problem().find(c.reason), std::string::npos) << decoder.problem();
        std::vector<int16_t> buffer(2 * 4096);
        EXPECT_EQ(decoder.read(buffer.data(), 4096), 0);
        EXPECT_FALSE(decoder.seek(0));
        EXPECT_EQ(decoder.read(buffer.data(), 4096), 0);
    }
    for (uint32_t rate : {8000u, 192000u}) {
        COggDecoder decoder;
        EXPECT_TRUE(decoder.open(withRate(rate), 44100)) << rate << ": " << decoder.problem();
        EXPECT_TRUE(decoder.problem().empty());
    }
}
