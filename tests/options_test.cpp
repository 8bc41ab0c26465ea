#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/commandline.h"

namespace {

bool parse(std::vector<const char*> args, COptions& options, std::string& error) {
    args.insert(args.begin(), "vexmoro");
    return CCommandLine(options).parse(static_cast<int>(args.size()), args.data(), error);
}

}  // namespace

TEST(Options, NoOptionsKeepTheShowAsBuilt) {
    COptions options;
    std::string error;
    ASSERT_TRUE(parse({}, options, error));
    EXPECT_FALSE(options.windowed);
    EXPECT_FALSE(options.startGiven);
    EXPECT_FALSE(options.noMusic);
    EXPECT_TRUE(options.vsync);
    EXPECT_FALSE(options.offline());
    EXPECT_EQ(options.fpsNumerator, 60);
    EXPECT_EQ(options.fpsDenominator, 1);
}

TEST(Options, ValuesAreTaken) {
    COptions options;
    std::string error;
    ASSERT_TRUE(parse({"-w", "--start", "12.5", "--no-music", "--root", "/tmp", "--bars", "a.bar",
                       "--capture", "out.mp4", "--fps", "60000/1001", "--from", "1", "--to", "2.5",
                       "--silent", "--vsync", "--no-vsync"},
                      options, error))
        << error;
    EXPECT_TRUE(options.windowed);
    EXPECT_TRUE(options.startGiven);
    EXPECT_EQ(options.start, 12.5f);
    EXPECT_TRUE(options.noMusic);
    EXPECT_EQ(options.root, "/tmp");
    EXPECT_EQ(options.barsFile, "a.bar");
    EXPECT_EQ(options.capture, "out.mp4");
    EXPECT_EQ(options.fpsNumerator, 60000);
    EXPECT_EQ(options.fpsDenominator, 1001);
    for (const char* fastest : {"1000", "2000/2"}) {
        EXPECT_TRUE(parse({"--fps", fastest}, options, error)) << fastest << ": " << error;
    }
    EXPECT_EQ(options.from, 1.0);
    EXPECT_EQ(options.to, 2.5);
    EXPECT_TRUE(options.silent);
    EXPECT_FALSE(options.vsync) << "the last of the pair wins";
    EXPECT_TRUE(options.offline());
}

TEST(Options, BadCommandLinesAreRefusedWithAReason) {
    const std::vector<std::vector<const char*>> bad = {
        {"--start"},          {"--start", "soon"}, {"--start", "-1"},
        {"--start", "nan"},   {"--fps", "0"},      {"--fps", "30/0"},
        {"--fps", "abc"},     {"--fps", "60/"},    {"--from", "5", "--to", "1"},
        {"--capture", ""},    {"--frobnicate"},    {"--bars"},
        {"--start", "1e999"}, {"--fps", "1001"},   {"--fps", "1000000/999"},
    };
    for (const auto& args : bad) {
        COptions options;
        std::string error;
        EXPECT_FALSE(parse(args, options, error)) << args[0];
        EXPECT_FALSE(error.empty()) << args[0];
    }
}
