// The show at its reference moments, captured by the program on whatever renderer runs the
// tests and held against tests/data/reference-frames by scripts/frames.py, within the tolerance
// that accepts what renderers round differently; and that tolerance still refuses a picture drawn
// wrong.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/scratchdir.h"

namespace fs = std::filesystem;

namespace {

// The tool's exit status: 0 within the tolerance, 1 past it, 2 used wrongly, 3 a capture failed.
int frames(const std::string& arguments) {
    // The kept regressions lie in tests/, beside scripts/.
    fs::path tool = fs::path(VEXMORO_REGRESSIONS).parent_path().parent_path() / "scripts/frames.py";
    std::string command = "python3 " + tool.string() + " " + arguments;
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string program() {
    return std::string(VEXMORO_BINARY) + " ";
}

TEST(ReferenceFrames, EveryMomentWithinToleranceOnThisRenderer) {
    EXPECT_EQ(frames("check " + program() + fs::path(VEXMORO_DATA_DIR).parent_path().string()), 0);
}

// Without the logo the show goes on and draws its quad untextured: a frame the check must refuse.
TEST(ReferenceFrames, APictureMissingIsRefused) {
    ScratchDir root("referenceframes");
    ASSERT_FALSE(root.path.empty());
    fs::copy(VEXMORO_DATA_DIR, root.path + "/data", fs::copy_options::recursive);
    ASSERT_TRUE(fs::remove(root.path + "/data/textures/logo.jpg"));
    EXPECT_EQ(frames("check --only credits-logo " + program() + root.path), 1);
}

}  // namespace
