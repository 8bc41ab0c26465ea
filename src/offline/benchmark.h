// The figures of a benchmark run: loading time, per-scene frame times (count, median, 95th and
// 99th percentile, worst) and peak memory, printed as a table whose last line is the same
// figures as one JSON object. Does no timing itself and needs no GL.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

class CBenchmark {
public:
    struct Stats {
        size_t frames = 0;
        double median = 0;  // all in milliseconds
        double p95 = 0;
        double p99 = 0;
        double worst = 0;
    };

    // Frame times in ms, in any order; percentiles by nearest rank.
    static Stats summarize(std::vector<double> ms);
    // The process's peak resident memory so far.
    static long peakResidentKiB();

    // sceneNames: the show's scenes in timeline order.
    explicit CBenchmark(std::vector<std::string> sceneNames);

    void setLoading(double ms) { loadingMs = ms; }
    // Room for this many frames, so that adding them allocates nothing.
    void reserve(size_t frames);
    // active: indices into sceneNames of the scenes drawn in the frame; empty for none.
    void addFrame(double ms, const std::vector<size_t>& active);
    void print(FILE* out, long peakKiB) const;

private:
    struct Row {
        std::string name;
        Stats stats;
    };
    std::vector<Row> rows() const;
    static void printJSONStats(FILE* out, const Stats& stats);

    std::vector<std::string> names;
    std::vector<std::vector<double>> sceneMs;
    std::vector<double> emptyMs;
    std::vector<double> allMs;
    double loadingMs;
};
