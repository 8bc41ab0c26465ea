// Slime step (chase, three rotations, normals) per vertex, and loading a mesh file, over a
// sphere of 5,000 vertices.
#include <benchmark/benchmark.h>

#include <cmath>

#include "assets/eglbrush.h"
#include "platform/messagebox.h"
#include "render/slimebrush.h"
#include "support/ebrwriter.h"

namespace {

const int kRings = 50;
const int kSegments = 100;

// A bumpy UV sphere (so that vertex distances differ, as on the show's spiky meshes):
// kRings * kSegments vertices, two triangles per quad between rings.
EbrWriter sphereFile() {
    std::vector<CVector> positions;
    for (int r = 0; r < kRings; ++r) {
        double phi = M_PI * (r + 0.5) / kRings;
        for (int s = 0; s < kSegments; ++s) {
            double theta = 2 * M_PI * s / kSegments;
            double radius = 2 + 0.5 * std::sin(7 * theta) * std::sin(5 * phi);
            positions.push_back(makeVector(float(radius * std::sin(phi) * std::cos(theta)),
                                           float(radius * std::cos(phi)),
                                           float(radius * std::sin(phi) * std::sin(theta))));
        }
    }
    std::vector<std::array<std::uint32_t, 3>> triangles;
    for (std::uint32_t r = 0; r + 1 < kRings; ++r) {
        for (std::uint32_t s = 0; s < kSegments; ++s) {
            std::uint32_t a = r * kSegments + s, b = r * kSegments + (s + 1) % kSegments;
            std::uint32_t c = a + kSegments, d = b + kSegments;
            triangles.push_back({a, c, b});
            triangles.push_back({b, c, d});
        }
    }
    EbrWriter w;
    w.u32(1).mesh(positions, triangles, "sphere");
    return w;
}

void reportPerVertex(benchmark::State& state) {
    state.counters["ns_per_vertex"] = benchmark::Counter(
        double(kRings * kSegments) * 1e-9,
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The spike room's use: targets (0.2 t, t, t), lag 8, 60 frames a second.
void BM_SlimeUpdate(benchmark::State& state) {
    EbrWriter::TempFile file(sphereFile());
    CSlimeBrush slime(file.path());
    const float frame = 1.0f / 60;
    float t = 0;
    for (auto _ : state) {
        t += frame;
        slime.update(makeVector(0.2f * t, t, t), frame, 8);
        benchmark::DoNotOptimize(slime.shape->meshes[0]->normals);
    }
    reportPerVertex(state);
}
BENCHMARK(BM_SlimeUpdate);

// The normals alone, the part of the step shared with every scene's mesh preparation.
void BM_CalcNormals(benchmark::State& state) {
    EbrWriter::TempFile file(sphereFile());
    CEGLBrush brush;
    brush.loadFromFile(file.path());
    for (auto _ : state) {
        brush.meshes[0]->calcNormals();
        benchmark::DoNotOptimize(brush.meshes[0]->normals);
    }
    reportPerVertex(state);
}
BENCHMARK(BM_CalcNormals);

void BM_LoadFile(benchmark::State& state) {
    setMessageBoxesHeadless(true);
    EbrWriter::TempFile file(sphereFile());
    for (auto _ : state) {
        CEGLBrush brush;
        if (!brush.loadFromFile(file.path()) || brush.meshCount != 1) {
            state.SkipWithError("load failed");
            break;
        }
        benchmark::DoNotOptimize(brush.meshes[0]->vertices);
    }
}
BENCHMARK(BM_LoadFile)->Unit(benchmark::kMillisecond);

}  // namespace
