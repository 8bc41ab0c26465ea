// The program as a user runs it: a process on the offscreen driver, timed by its own clock.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <string>

namespace {

struct Result {
    int status;
    std::string output;
    double seconds;
};

Result runProgram(const std::string& arguments, const std::string& environment = "") {
    std::string command = environment + " " + VEXMORO_BINARY + " " + arguments + " 2>&1";
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
    EXPECT_NE(run.output.find("could not be opened"), std::string::npos) << run.output;
    EXPECT_LT(run.seconds, 30.0) << "must not run blind until the end time";
}
