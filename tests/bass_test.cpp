#include "audio/bass.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <thread>
#include <utility>
#include <vector>

#include "audio/oggdecoder.h"
#include "support/messagerecorder.h"
#include "support/oggfile.h"
#include "support/polling.h"

namespace {

void useAudioDriver(const char* driver) {
    setenv("SDL_AUDIODRIVER", driver, 1);
}

// Plays through SDL's disk driver: what the device is given lands in `recording`.
void recordTo(const std::string& recording) {
    useAudioDriver("disk");
    setenv("SDL_DISKAUDIOFILE", recording.c_str(), 1);
}

bool silentFrom(const std::vector<int16_t>& samples, size_t from, size_t to) {
    for (size_t i = from; i < to && i < samples.size(); ++i)
        if (samples[i] != 0) return false;
    return true;
}

// True once `recording` holds all of `expected` and then `after` samples more. SDL's disk driver
// writes in real time, so this waits on the device however fast the machine runs.
bool recordingHolds(const std::string& recording, const std::vector<int16_t>& expected,
                    size_t after = 0) {
    std::vector<int16_t> recorded = readRecording(recording);
    if (recorded.size() < expected.size() + after) return false;
    size_t start = findStart(recorded, expected);
    return start != std::string::npos && recorded.size() >= start + expected.size() + after;
}

class BassTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        musicPath = scratchPath("bass-music.ogg");
        ASSERT_TRUE(writeOgg(musicPath, testMusic(88200, 44100), 2, 44100));
    }
    void SetUp() override { useAudioDriver("dummy"); }
    static std::string musicPath;
};
std::string BassTest::musicPath;

}  // namespace

TEST_F(BassTest, ConstructedPlayerReportsSilenceInOneBuffer) {
    CBass bass;
    EXPECT_EQ(bass.stream, 0u);
    float* spectrum = bass.getSpectrum();
    for (int i = 0; i < 512; ++i) ASSERT_EQ(spectrum[i], 0.0f) << i;
    EXPECT_EQ(bass.getSpectrum(), spectrum);
}

TEST_F(BassTest, OneSecondIs176400Bytes) {
    std::string slowMono = scratchPath("slow-mono.ogg");
    ASSERT_TRUE(writeOgg(slowMono, std::vector<float>(22050, 0.25f), 1, 22050));
    MessageRecorder boxes;
    ASSERT_TRUE(BASS_Init(1, 44100, 0, nullptr, nullptr));
    // Bytes count the decoded stereo at the device rate, whatever the file holds.
    for (const std::string& path : {musicPath, slowMono}) {
        HSTREAM stream = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0);
        ASSERT_NE(stream, 0u);
        EXPECT_EQ(BASS_ChannelSeconds2Bytes(stream, 1.0f), 176400u);
        EXPECT_EQ(BASS_ChannelSeconds2Bytes(stream, 0.5f), 88200u);
        EXPECT_EQ(BASS_ChannelSeconds2Bytes(stream, -1.0f), static_cast<QWORD>(-1));
    }
    EXPECT_EQ(BASS_ChannelSeconds2Bytes(12345, 1.0f), static_cast<QWORD>(-1));
    EXPECT_TRUE(BASS_Free());
    EXPECT_TRUE(boxes.boxes.empty());
}

// SDL's own words for why its audio cannot come up with the driver now chosen.
std::string whyAudioFails() {
    EXPECT_NE(SDL_InitSubSystem(SDL_INIT_AUDIO), 0);
    std::string words = SDL_GetError();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return words;
}

// A driver that cannot open stands for a machine without sound: one plain box with SDL's reason
// (not an older error SDL still held), false, and the destructor leaves nothing behind (the next
// player can open the device again).
TEST_F(BassTest, NoDeviceShowsOneBoxAndReturnsFalse) {
    {
        MessageRecorder boxes;
        useAudioDriver("no-such-driver");
        const std::string why = whyAudioFails();
        ASSERT_FALSE(why.empty());
        SDL_SetError("an older error");
        CBass bass;
        EXPECT_FALSE(bass.init(musicPath.c_str(), nullptr));
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].style, MessageBoxStyle::Plain);
        EXPECT_EQ(boxes.boxes[0].caption, "CBass::init()");
        EXPECT_EQ(boxes.boxes[0].text, "Unable to init BASS: " + why);
        EXPECT_EQ(bass.stream, 0u);
        EXPECT_EQ(bass.fileName, musicPath);
        bass.play();
        bass.setPosition(1.0f);
        EXPECT_EQ(bass.getSpectrum()[0], 0.0f);
    }
    useAudioDriver("dummy");
    for (int round = 0; round < 2; ++round) {
        MessageRecorder boxes;
        CBass bass;
        EXPECT_TRUE(bass.init(musicPath.c_str(), nullptr)) << round;
        EXPECT_NE(bass.stream, 0u);
        EXPECT_TRUE(boxes.boxes.empty());
    }
}

// Missing, empty, non-Ogg and damaged files: one error box naming the file and why, true, no
// stream; playing and seeking (where a damaged file used to bring the library down) do nothing.
// The reason is the decoder's for this very file, never one kept from an earlier file.
TEST_F(BassTest, UnplayableMusicShowsOneErrorBoxAndReturnsTrue) {
    std::string empty = scratchPath("bass-empty.ogg"), text = scratchPath("bass-text.ogg");
    std::ofstream(empty).close();
    std::ofstream(text) << "not music";
    const std::string damaged = std::string(VEXMORO_REGRESSIONS) + "/ogg/";
    const std::pair<std::string, const char*> files[] = {
        {scratchPath("missing.ogg"), "No such file"},
        {empty, "not an Ogg Vorbis file"},
        {text, "not an Ogg Vorbis file"},
        {damaged + "ogg-fpe-read.ogg", "hides inside another page"},
        {damaged + "ogg-fpe-seek.ogg", "complete prefix code"},
        {damaged + "ogg-huge-granule.ogg", "s of music"},
        {damaged + "ogg-rate1Hz.ogg", "1 Hz"},
    };
    for (const auto& file : files) {
        SCOPED_TRACE(file.first);
        MessageRecorder boxes;
        CBass bass;
        EXPECT_TRUE(bass.init(file.first.c_str(), nullptr));
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].style, MessageBoxStyle::Error);
        EXPECT_EQ(boxes.boxes[0].caption, "CBass::init()");
        COggDecoder decoder;
        ASSERT_FALSE(decoder.open(file.first, 44100));
        EXPECT_EQ(boxes.boxes[0].text,
                  "Unable to load music " + file.first + ": " + decoder.problem());
        EXPECT_NE(boxes.boxes[0].text.find(file.second), std::string::npos);
        EXPECT_EQ(bass.stream, 0u);
        bass.play();
        bass.setPosition(0.5f);
        EXPECT_EQ(bass.getSpectrum()[1], 0.0f);
    }
}

// The show's order: init, play, position at the start time. What the device was given is the
// file from that time on, once the seek has taken effect: before it only silence and at most a
// moment of the file's own beginning (played between play and setPosition), after it silence.
TEST_F(BassTest, PlaysTheFileFromTheStartTime) {
    std::string recording = scratchPath("from-offset.raw");
    recordTo(recording);
    std::vector<int16_t> decoded = decodeOgg(musicPath);
    std::vector<int16_t> fromOffset(decoded.begin() + 2 * 22050, decoded.end());
    {
        MessageRecorder boxes;
        CBass bass;
        ASSERT_TRUE(bass.init(musicPath.c_str(), nullptr));
        bass.play();
        bass.setPosition(0.5f);
        bool heard = false;
        // A tenth of a second of silence after the music, so that the spectrum's last 512
        // samples hold none of it.
        ASSERT_TRUE(waitUntil([&] {
            float* spectrum = bass.getSpectrum();
            heard = heard || spectrum[5] + spectrum[6] > 0.01f;
            return recordingHolds(recording, fromOffset, 2 * 4410);
        })) << "the music from 0.5 s was not played to its end";
        EXPECT_TRUE(heard) << "no spectrum while the music plays";
        EXPECT_EQ(bass.getSpectrum()[5], 0.0f) << "the music has ended";
    }
    std::vector<int16_t> recorded = readRecording(recording);
    size_t start = findStart(recorded, fromOffset);
    ASSERT_NE(start, std::string::npos) << "the music from 0.5 s is not in the recording";
    ASSERT_GE(recorded.size(), start + fromOffset.size()) << "recording ends early";
    EXPECT_TRUE(std::equal(fromOffset.begin(), fromOffset.end(), recorded.begin() + start));
    EXPECT_TRUE(silentFrom(recorded, start + fromOffset.size(), recorded.size()));
    size_t lead = 0;
    while (lead < start && recorded[lead] == 0) ++lead;
    size_t fileStart = lead;
    while (fileStart < start && recorded[fileStart] == decoded[fileStart - lead]) ++fileStart;
    EXPECT_TRUE(silentFrom(recorded, fileStart, start));
    // A seek that let the ring's 1.5 s decoded ahead play out first would come later than this
    // by far; a loaded machine only delays it by a few buffers.
    EXPECT_LT(start, 2u * 44100) << "the seek took more than a second";
}

// 101 is not a volume: the earlier 50 % stays in force.
TEST_F(BassTest, VolumeAbove100ChangesNothing) {
    std::string recording = scratchPath("volume.raw");
    recordTo(recording);
    std::string shortMusic = scratchPath("short.ogg");
    ASSERT_TRUE(writeOgg(shortMusic, testMusic(22050, 44100), 2, 44100));
    std::vector<int16_t> halved = decodeOgg(shortMusic);
    for (int16_t& sample : halved) sample = static_cast<int16_t>(sample * 50 / 100);
    {
        CBass bass;
        ASSERT_TRUE(bass.init(shortMusic.c_str(), nullptr));
        bass.setVolume(50);
        bass.setVolume(101);
        bass.play();
        ASSERT_TRUE(waitUntil([&] { return recordingHolds(recording, halved); }))
            << "the music at half volume is not in the recording";
    }
    std::vector<int16_t> recorded = readRecording(recording);
    size_t start = findStart(recorded, halved);
    ASSERT_NE(start, std::string::npos) << "the music at half volume is not in the recording";
    ASSERT_GE(recorded.size(), start + halved.size());
    EXPECT_TRUE(std::equal(halved.begin(), halved.end(), recorded.begin() + start));
}
