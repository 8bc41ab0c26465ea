// The program itself with music: started at a show time, it plays the music from that time.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/show.h"
#include "support/oggfile.h"

namespace {

// A show-length track: silence (cheap to encode) up to 206 s, then busy music to the end.
std::string makeRoot() {
    std::string root = scratchPath("root");
    mkdir(root.c_str(), 0755);
    mkdir((root + "/data").c_str(), 0755);
    mkdir((root + "/data/music").c_str(), 0755);
    const int rate = 44100, musicFrom = 206 * rate, frames = 210 * rate;
    std::vector<float> samples(2 * static_cast<size_t>(frames), 0.0f);
    std::vector<float> music = testMusic(frames - musicFrom, rate);
    std::copy(music.begin(), music.end(), samples.begin() + 2 * static_cast<size_t>(musicFrom));
    writeOgg(root + "/" + kMusicFolder + kMusicFile, samples, 2, rate);
    return root;
}

}  // namespace

TEST(DemoMusic, PlaysTheMusicFromTheStartTime) {
    std::string root = makeRoot();
    std::string recording = scratchPath("show.raw");
    std::string command = "SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE='" + recording +
                          "' '" VEXMORO_BINARY "' --windowed --start 207 --root '" + root +
                          "' 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::vector<int16_t> decoded = decodeOgg(root + "/" + kMusicFolder + kMusicFile);
    std::vector<int16_t> recorded = readRecording(recording);
    const size_t from = 2 * 207 * 44100;
    std::vector<int16_t> fromStart(decoded.begin() + from, decoded.end());
    size_t start = findStart(recorded, fromStart);
    ASSERT_NE(start, std::string::npos) << "the music from 207 s is not in the recording";
    // The seek takes effect within a few buffers even on a loaded machine; one that let the 1.5 s
    // decoded ahead from 0 s play out first would be heard far later.
    EXPECT_LT(start, 2 * 44100u) << "more than a second before the music";
    for (size_t i = 0; i < start; ++i) ASSERT_EQ(recorded[i], 0) << i;
    // The show ends 2.2 s after its clock starts, so a real-time device was given about that much
    // of the music; half of it leaves room for a loaded machine.
    size_t heard = std::min(recorded.size() - start, fromStart.size());
    EXPECT_GT(heard, 2 * 44100u) << "less than a second of the music";
    // A slow machine may keep the device open past the track's end: only silence may follow it.
    EXPECT_TRUE(
        std::equal(recorded.begin() + start, recorded.begin() + start + heard, fromStart.begin()));
    for (size_t i = start + heard; i < recorded.size(); ++i) ASSERT_EQ(recorded[i], 0) << i;
}
