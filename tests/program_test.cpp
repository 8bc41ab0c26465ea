// The program as a user runs it: a process on the offscreen driver, timed by its own clock.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/scratchdir.h"

namespace {

struct Result {
    int status;
    std::string output;
    double seconds;
};

Result runProgram(const std::string& arguments, const std::string& environment = "",
                  const std::string& binary = VEXMORO_BINARY) {
    std::string command = environment + " " + binary + " " + arguments + " 2>&1";
    auto begin = std::chrono::steady_clock::now();
    FILE* pipe = popen(command.c_str(), "r");
    Result result{-1, "", 0};
    if (pipe == nullptr) return result;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, n);
    int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    return result;
}

}  // namespace

TEST(Program, HelpAndVersionExitCleanly) {
    Result help = runProgram("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.output.find("--windowed"), std::string::npos);
    Result version = runProgram("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.output.rfind("vexmoro ", 0), 0u);
}

TEST(Program, BadOptionExitsWithUsage) {
    Result bad = runProgram("--no-such-option");
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.output.find("Usage"), std::string::npos);
}

// Started 1.5 s before the end, the show stops by itself, on its clock, with status 0. Loading
// the data set comes first and takes a few seconds, many more on a loaded machine.
TEST(Program, EndsByItselfAfterTheEndTime) {
    Result run = runProgram("--windowed --no-music --start 207.7");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_GE(run.seconds, 1.4);
    EXPECT_LT(run.seconds, 150.0);
}

TEST(Program, AWindowThatCannotOpenIsAnErrorExit) {
    Result run = runProgram("--windowed --no-music --start 208", "SDL_VIDEODRIVER=no-such-driver");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("could not be opened: no-such-driver"), std::string::npos)
        << "without SDL's reason: " << run.output;
    EXPECT_LT(run.seconds, 30.0) << "must not run blind until the end time";
}

// The tree `cmake --install` lays out, under a prefix of its own: run from another folder, the
// installed program finds its data from where it lies; with the data gone it says where it
// looked; --root still leads it to data moved elsewhere.
TEST(Program, AnInstalledTreeFindsItsDataFromWhereItLies) {
    ScratchDir prefix("install");
    ASSERT_FALSE(prefix.path.empty());
    const std::string install = std::string("'") + VEXMORO_CMAKE + "' --install '" +
                                VEXMORO_BUILD_DIR + "' --prefix '" + prefix.path + "' >/dev/null";
    ASSERT_EQ(std::system(install.c_str()), 0);
    const std::string program = prefix.path + "/games/vexmoro";
    const std::string oneFrame =
        "--capture " + prefix.path + "/frames --start 208 --fps 10 --to 208";

    Result found = runProgram(oneFrame, "cd / &&", program);
    EXPECT_EQ(found.status, 0) << found.output;
    // Only the summary: a data file not found would have its own line.
    EXPECT_EQ(found.output.find('\n'), found.output.size() - 1) << found.output;
    EXPECT_TRUE(std::filesystem::exists(prefix.path + "/frames/frame-000000.png"));

    const std::string installed = prefix.path + "/share/games/vexmoro";
    std::filesystem::rename(installed + "/data", prefix.path + "/data-elsewhere");
    Result missing = runProgram(oneFrame, "cd / &&", program);
    EXPECT_EQ(missing.status, 1) << missing.output;
    EXPECT_NE(
        missing.output.find("looked for " + prefix.path + "/games/data and " + installed + "/data"),
        std::string::npos)
        << missing.output;

    std::filesystem::create_directory(prefix.path + "/root");
    std::filesystem::rename(prefix.path + "/data-elsewhere", prefix.path + "/root/data");
    Result named = runProgram("--root " + prefix.path + "/root " + oneFrame, "cd / &&", program);
    EXPECT_EQ(named.status, 0) << named.output;
    EXPECT_EQ(named.output.find('\n'), named.output.size() - 1) << named.output;
}
