#include "offline/benchmark.h"

#include <algorithm>
#include <cmath>

#include "fixedgl/session.h"
#include "platform/host.h"

namespace {

double nearestRank(const std::vector<double>& sorted, double fraction) {
    size_t rank = static_cast<size_t>(std::ceil(fraction * static_cast<double>(sorted.size())));
    return sorted[std::max<size_t>(rank, 1) - 1];
}

void printTableRow(FILE* out, const std::string& name, const CBenchmark::Stats& s) {
    std::fprintf(out, "%-14s %8zu %10.3f %9.3f %9.3f %9.3f\n", name.c_str(), s.frames, s.median,
                 s.p95, s.p99, s.worst);
}

}  // namespace

CBenchmark::Stats CBenchmark::summarize(std::vector<double> ms) {
    Stats stats;
    stats.frames = ms.size();
    if (ms.empty()) return stats;
    std::sort(ms.begin(), ms.end());
    size_t middle = ms.size() / 2;
    stats.median = ms.size() % 2 == 1 ? ms[middle] : (ms[middle - 1] + ms[middle]) / 2;
    stats.p95 = nearestRank(ms, 0.95);
    stats.p99 = nearestRank(ms, 0.99);
    stats.worst = ms.back();
    return stats;
}

long CBenchmark::peakResidentKiB() {
    return ::peakResidentKiB();
}

CBenchmark::CBenchmark(std::vector<std::string> sceneNames)
    : names(std::move(sceneNames)), sceneMs(names.size()), loadingMs(0) {}

void CBenchmark::reserve(size_t frames) {
    allMs.reserve(frames);
    emptyMs.reserve(frames);
    for (std::vector<double>& ms : sceneMs) ms.reserve(frames);
}

// A frame drawn by two overlapping scenes counts for both.
void CBenchmark::addFrame(double ms, const std::vector<size_t>& active) {
    allMs.push_back(ms);
    if (active.empty()) emptyMs.push_back(ms);
    for (size_t index : active) sceneMs.at(index).push_back(ms);
}

// Scenes in timeline order, those never drawn left out; then the frames with no scene.
std::vector<CBenchmark::Row> CBenchmark::rows() const {
    std::vector<Row> result;
    for (size_t i = 0; i < names.size(); ++i)
        if (!sceneMs[i].empty()) result.push_back({names[i], summarize(sceneMs[i])});
    if (!emptyMs.empty()) result.push_back({"empty", summarize(emptyMs)});
    return result;
}

void CBenchmark::printJSONStats(FILE* out, const Stats& s) {
    std::fprintf(out, "\"frames\":%zu", s.frames);
    if (s.frames == 0) {
        std::fputs(",\"median_ms\":null,\"p95_ms\":null,\"p99_ms\":null,\"worst_ms\":null", out);
        return;
    }
    std::fprintf(out, ",\"median_ms\":%.3f,\"p95_ms\":%.3f,\"p99_ms\":%.3f,\"worst_ms\":%.3f",
                 s.median, s.p95, s.p99, s.worst);
}

void CBenchmark::print(FILE* out, long peakKiB) const {
    std::vector<Row> table = rows();
    Stats show = summarize(allMs);
    std::fprintf(out, "renderer       %s\n", fixedglRenderer());
    std::fprintf(out, "loading        %.3f ms\n", loadingMs);
    std::fprintf(out, "%-14s %8s %10s %9s %9s %9s\n", "scene", "frames", "median ms", "p95 ms",
                 "p99 ms", "worst ms");
    for (const Row& row : table) printTableRow(out, row.name, row.stats);
    printTableRow(out, "whole show", show);
    std::fprintf(out, "peak memory    %ld KiB\n", peakKiB);
    // Scene names are the program's own identifiers: nothing in them needs escaping.
    std::fprintf(out, "{\"renderer\":\"%s\",\"loading_ms\":%.3f,\"scenes\":[", fixedglRenderer(),
                 loadingMs);
    for (size_t i = 0; i < table.size(); ++i) {
        std::fprintf(out, "%s{\"name\":\"%s\",", i == 0 ? "" : ",", table[i].name.c_str());
        printJSONStats(out, table[i].stats);
        std::fputs("}", out);
    }
    std::fputs("],\"show\":{", out);
    printJSONStats(out, show);
    std::fprintf(out, "},\"peak_rss_kib\":%ld}\n", peakKiB);
    std::fflush(out);
}
