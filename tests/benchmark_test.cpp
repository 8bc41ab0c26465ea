// Frame-time statistics and the benchmark's printed table and JSON line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "fixedgl/session.h"
#include "offline/benchmark.h"

namespace {

std::vector<double> oneTo(int n) {
    std::vector<double> values(n);
    std::iota(values.begin(), values.end(), 1.0);
    std::shuffle(values.begin(), values.end(), std::mt19937(42));
    return values;
}

TEST(Benchmark, SummarizesByNearestRank) {
    struct Case {
        std::vector<double> ms;
        size_t frames;
        double median, p95, p99, worst;
    };
    const Case cases[] = {
        {oneTo(100), 100, 50.5, 95, 99, 100}, {oneTo(101), 101, 51, 96, 100, 101},
        {oneTo(10), 10, 5.5, 10, 10, 10},     {{3.0}, 1, 3, 3, 3, 3},
        {{2.0, 1.0}, 2, 1.5, 2, 2, 2},
    };
    for (const Case& c : cases) {
        CBenchmark::Stats s = CBenchmark::summarize(c.ms);
        EXPECT_EQ(s.frames, c.frames);
        EXPECT_DOUBLE_EQ(s.median, c.median) << c.frames << " frames";
        EXPECT_DOUBLE_EQ(s.p95, c.p95) << c.frames << " frames";
        EXPECT_DOUBLE_EQ(s.p99, c.p99) << c.frames << " frames";
        EXPECT_DOUBLE_EQ(s.worst, c.worst) << c.frames << " frames";
    }
    EXPECT_EQ(CBenchmark::summarize({}).frames, 0u);
}

std::vector<std::string> printedLines(const CBenchmark& benchmark, long peakKiB) {
    FILE* file = std::tmpfile();
    benchmark.print(file, peakKiB);
    std::rewind(file);
    std::vector<std::string> lines;
    char line[4096];
    while (std::fgets(line, sizeof line, file) != nullptr) lines.push_back(line);
    std::fclose(file);
    return lines;
}

std::string rowOf(const std::vector<std::string>& lines, const std::string& name) {
    for (const std::string& line : lines)
        if (line.compare(0, name.size() + 1, name + " ") == 0) return line;
    return "";
}

// Overlapping scenes count the frame for both; frames with no scene make the "empty" row;
// scenes never drawn have no row.
TEST(Benchmark, CountsFramesPerSceneAndPrintsJSONLast) {
    CBenchmark benchmark({"credits", "spike", "tunnel"});
    benchmark.setLoading(12.5);
    benchmark.addFrame(1.0, {});
    benchmark.addFrame(2.0, {1});
    benchmark.addFrame(4.0, {1, 2});
    benchmark.addFrame(8.0, {2});
    std::vector<std::string> lines = printedLines(benchmark, 4321);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(rowOf(lines, "renderer"), std::string("renderer       ") + fixedglRenderer() + "\n");
    EXPECT_NE(rowOf(lines, "loading").find("12.500 ms"), std::string::npos)
        << rowOf(lines, "loading");
    EXPECT_EQ(rowOf(lines, "credits"), "");
    std::istringstream spike(rowOf(lines, "spike"));
    std::string name;
    size_t frames = 0;
    double median = 0, p95 = 0, p99 = 0, worst = 0;
    spike >> name >> frames >> median >> p95 >> p99 >> worst;
    EXPECT_EQ(frames, 2u);
    EXPECT_DOUBLE_EQ(median, 3.0);
    EXPECT_DOUBLE_EQ(worst, 4.0);
    EXPECT_NE(rowOf(lines, "empty").find(" 1 "), std::string::npos);
    EXPECT_NE(rowOf(lines, "whole show").find(" 4 "), std::string::npos);
    EXPECT_EQ(lines.back(),
              std::string("{\"renderer\":\"") + fixedglRenderer() +
                  "\",\"loading_ms\":12.500,\"scenes\":["
                  "{\"name\":\"spike\",\"frames\":2,\"median_ms\":3.000,\"p95_ms\":4.000,"
                  "\"p99_ms\":4.000,\"worst_ms\":4.000},"
                  "{\"name\":\"tunnel\",\"frames\":2,\"median_ms\":6.000,\"p95_ms\":8.000,"
                  "\"p99_ms\":8.000,\"worst_ms\":8.000},"
                  "{\"name\":\"empty\",\"frames\":1,\"median_ms\":1.000,\"p95_ms\":1.000,"
                  "\"p99_ms\":1.000,\"worst_ms\":1.000}],"
                  "\"show\":{\"frames\":4,\"median_ms\":3.000,\"p95_ms\":8.000,\"p99_ms\":8.000,"
                  "\"worst_ms\":8.000},\"peak_rss_kib\":4321}\n");
}

// A range with no frame in it still gives valid JSON: null, not NaN or garbage.
TEST(Benchmark, NoFramesGiveNullTimes) {
    CBenchmark benchmark({"credits"});
    std::vector<std::string> lines = printedLines(benchmark, 1);
    EXPECT_EQ(lines.back(),
              std::string("{\"renderer\":\"") + fixedglRenderer() +
                  "\",\"loading_ms\":0.000,\"scenes\":[],\"show\":{\"frames\":0,\"median_ms\":null,"
                  "\"p95_ms\":null,\"p99_ms\":null,\"worst_ms\":null},\"peak_rss_kib\":1}\n");
}

TEST(Benchmark, PeakMemoryIsThisProcesssAtLeast) {
    long before = CBenchmark::peakResidentKiB();
    std::vector<char> block(64 << 20, 1);  // 64 MiB, touched
    long after = CBenchmark::peakResidentKiB();
    EXPECT_GT(before, 0);
    EXPECT_GE(after, before + (60 << 10)) << static_cast<int>(block[12345]);
}

}  // namespace
