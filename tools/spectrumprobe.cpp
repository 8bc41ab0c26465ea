#include "spectrumprobe.h"

#include <kiss_fftr.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>

bool CSpectrumProbe::open(const std::string& path) {
    OggVorbis_File file;
    if (ov_fopen(path.c_str(), &file) != 0) return false;
    const vorbis_info* info = ov_info(&file, -1);
    rate = info->rate;
    const int channels = info->channels;
    samples.clear();
    peakLevel = 0.0f;
    int section = 0;
    for (;;) {
        float** pcm = nullptr;
        const long frames = ov_read_float(&file, &pcm, 4096, &section);
        if (frames <= 0) break;
        for (long i = 0; i < frames; ++i) {
            float sum = 0.0f;
            for (int c = 0; c < channels; ++c) {
                sum += pcm[c][i];
                peakLevel = std::max(peakLevel, std::abs(pcm[c][i]));
            }
            samples.push_back(sum / channels);
        }
    }
    ov_clear(&file);
    return !samples.empty();
}

void CSpectrumProbe::compute(double seconds, float* bins) const {
    std::vector<float> input(kSize, 0.0f);
    const long long first = std::llround(seconds * rate);
    for (int n = 0; n < kSize; ++n) {
        const long long i = first + n;
        const float window = 0.5f - 0.5f * std::cos(2.0f * 3.14159265f * n / (kSize - 1));
        if (i >= 0 && i < (long long)samples.size()) input[n] = samples[size_t(i)] * window;
    }
    kiss_fftr_cfg config = kiss_fftr_alloc(kSize, 0, nullptr, nullptr);
    std::vector<kiss_fft_cpx> output(kSize / 2 + 1);
    kiss_fftr(config, input.data(), output.data());
    kiss_fftr_free(config);
    for (int k = 0; k < kSize / 2; ++k)
        bins[k] = std::hypot(output[k].r, output[k].i) * 2.0f / kSize;
}
