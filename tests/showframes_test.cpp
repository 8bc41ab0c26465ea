// Frames of every scene, captured by the program with the real data set, hashed and compared with
// the hashes of the same frames recorded before any of the drawing was made faster: a change to
// how a scene reaches GL must leave its pixels exactly as they were. The greetings' and end's were
// recorded anew once their random numbers were kept in double (a level on a few dozen pixels).
// The hashes hold for the renderer they were recorded on; another renderer may round differently.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/show.h"
#include "support/glfixture.h"
#include "support/scratchdir.h"

namespace fs = std::filesystem;

namespace {

const char kRecordedOn[] = "llvmpipe (LLVM 15.0.6, 256 bits)";

struct Stretch {
    const char* what;
    const char* args;  // start, rate and range of the frames written
    size_t frames;
    uint64_t hash;  // of all their pixels, frame after frame
};

const Stretch kStretches[] = {
    {"credits: title and the first credits", "--fps 2 --from 38 --to 38.5", 2, 0x73ae6ad02c618e88},
    {"greetings: orbiting camera", "--start 50.6 --fps 10 --from 52 --to 52.2", 3,
     0x96678784286e0b43},
    {"greetings: standing camera, turning world", "--start 50.6 --fps 1 --from 80 --to 82", 2,
     0x93e79c58a8a0a2fa},
    {"spike room", "--start 101.1 --fps 2 --from 110 --to 111", 2, 0x3d59cd63b34c8268},
    {"spike room under the tunnel", "--start 126 --fps 10 --from 126.5 --to 126.6", 2,
     0x70c92ab03b855f8a},
    {"tunnel: text and bars", "--start 126.4 --fps 1 --from 153 --to 155", 2, 0x576b3836eb55dd4d},
    {"end: squares under the veil, closing picture", "--start 177 --fps 1 --from 199 --to 205", 7,
     0xd3ec756862e9c4a5},
};

// FNV-1a, 64 bits.
void hashInto(uint64_t& hash, const std::vector<uint8_t>& bytes) {
    for (uint8_t byte : bytes) {
        hash ^= byte;
        hash *= 1099511628211ull;
    }
}

std::vector<uint8_t> readRGB(const std::string& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    std::vector<uint8_t> rgb;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return rgb;
    image.format = PNG_FORMAT_RGB;
    rgb.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) rgb.clear();
    return rgb;
}

std::vector<std::string> framesIn(const std::string& folder) {
    std::vector<std::string> paths;
    for (const auto& entry : fs::directory_iterator(folder)) paths.push_back(entry.path());
    std::sort(paths.begin(), paths.end());
    return paths;
}

class ShowFrames : public GLFixture {};

TEST_F(ShowFrames, EveryScenePixelForPixelAsRecorded) {
    std::string renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    if (renderer != kRecordedOn)
        GTEST_SKIP() << "hashes recorded on " << kRecordedOn << ", this is " << renderer;
    ScratchDir scratch("showframes");
    ASSERT_FALSE(scratch.path.empty());
    std::string dataRoot = fs::path(VEXMORO_DATA_DIR).parent_path().string();
    for (const Stretch& stretch : kStretches) {
        std::string folder = scratch.path + "/frames";
        fs::remove_all(folder);
        std::string command = std::string(VEXMORO_BINARY) + " --root " + dataRoot + " --capture " +
                              folder + " " + stretch.args + " 2>/dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        std::vector<std::string> frames = framesIn(folder);
        ASSERT_EQ(frames.size(), stretch.frames) << stretch.what;
        uint64_t hash = 14695981039346656037ull;
        for (const std::string& frame : frames) {
            std::vector<uint8_t> rgb = readRGB(frame);
            ASSERT_EQ(rgb.size(), size_t(kFrameWidth) * kFrameHeight * 3) << frame;
            hashInto(hash, rgb);
        }
        EXPECT_EQ(hash, stretch.hash) << stretch.what << std::hex << ": 0x" << hash;
    }
}

}  // namespace
