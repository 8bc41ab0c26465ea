// Cost of converting music to the 44.1 kHz output: 10 s of stereo through the rate converter
// alone, from each source rate, and a whole 10 s file decoded at 48 kHz against one decoded at
// 44.1 kHz, which needs no conversion.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "audio/oggdecoder.h"
#include "audio/rateconverter.h"
#include "support/oggfile.h"

namespace {

const int kSeconds = 10;
const int kPiece = 1024;  // the decoder's own piece

void convertTenSeconds(benchmark::State& state) {
    const int rate = static_cast<int>(state.range(0));
    std::vector<int16_t> source(2 * static_cast<size_t>(rate) * kSeconds);
    std::vector<float> music = testMusic(rate * kSeconds, rate);
    for (size_t i = 0; i < source.size(); ++i)
        source[i] = static_cast<int16_t>(std::lround(music[i] * 20000));
    std::vector<int16_t> out(2 * kPiece);
    for (auto _ : state) {
        CRateConverter converter(rate, 44100);
        for (int at = 0; at < rate * kSeconds; at += kPiece) {
            converter.put(source.data() + 2 * at, std::min(kPiece, rate * kSeconds - at));
            while (converter.take(out.data(), kPiece) > 0) {
            }
        }
        converter.finish();
        while (converter.take(out.data(), kPiece) > 0) {
        }
        benchmark::DoNotOptimize(out[0]);
    }
    state.SetItemsProcessed(state.iterations() * rate * kSeconds);
}
BENCHMARK(convertTenSeconds)
    ->Arg(8000)
    ->Arg(22050)
    ->Arg(48000)
    ->Arg(96000)
    ->Unit(benchmark::kMillisecond);

void decodeTenSeconds(benchmark::State& state) {
    const int rate = static_cast<int>(state.range(0));
    std::string path = scratchPath("bench-" + std::to_string(rate) + ".ogg");
    writeOgg(path, testMusic(rate * kSeconds, rate), 2, rate);
    std::vector<int16_t> out(2 * 4096);
    for (auto _ : state) {
        COggDecoder decoder;
        decoder.open(path, 44100);
        while (decoder.read(out.data(), 4096) > 0) {
        }
        benchmark::DoNotOptimize(out[0]);
    }
}
BENCHMARK(decodeTenSeconds)->Arg(44100)->Arg(48000)->Unit(benchmark::kMillisecond);

}  // namespace
