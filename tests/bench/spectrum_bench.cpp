// Cost of one spectrum: the live one while music plays (dummy audio driver) and the offline one.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "audio/bass.h"
#include "audio/offlinespectrum.h"
#include "support/oggfile.h"

namespace {

const std::string& musicFile() {
    static const std::string path = [] {
        std::string made = scratchPath("bench-music.ogg");
        writeOgg(made, testMusic(44100 * 10, 44100), 2, 44100);
        return made;
    }();
    return path;
}

void liveSpectrum(benchmark::State& state) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    CBass bass;
    if (!bass.init(musicFile().c_str(), nullptr) || bass.stream == 0) {
        state.SkipWithError("no music");
        return;
    }
    bass.play();
    for (auto _ : state) benchmark::DoNotOptimize(bass.getSpectrum()[3]);
}
BENCHMARK(liveSpectrum);

void offlineSpectrum(benchmark::State& state) {
    COfflineSpectrum offline;
    if (!offline.open(musicFile())) {
        state.SkipWithError("no music");
        return;
    }
    float spectrum[512];
    double time = 0;
    for (auto _ : state) {
        offline.compute(time, spectrum);
        benchmark::DoNotOptimize(spectrum[3]);
        time = time < 9 ? time + 1.0 / 60 : 0;
    }
}
BENCHMARK(offlineSpectrum);

void offlineOpen(benchmark::State& state) {
    for (auto _ : state) {
        COfflineSpectrum offline;
        benchmark::DoNotOptimize(offline.open(musicFile()));
    }
}
BENCHMARK(offlineOpen)->Unit(benchmark::kMillisecond);

}  // namespace
