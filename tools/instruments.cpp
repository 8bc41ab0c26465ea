#include "instruments.h"

#include <algorithm>
#include <cmath>

#include "oscillator.h"
#include "svfilter.h"

namespace instruments {

namespace {

const float kTwoPi = 6.28318531f;

// Linear attack, then held; a linear release after the held length. t and lengths in seconds.
float envelope(float t, float attack, float held, float release) {
    if (t < attack) return t / attack;
    if (t < held) return 1.0f;
    return std::max(0.0f, 1.0f - (t - held) / release);
}

float panLeft(float pan) {
    return std::cos((pan + 1.0f) * 0.785398163f);
}
float panRight(float pan) {
    return std::sin((pan + 1.0f) * 0.785398163f);
}

float phaseSeed(uint32_t a, uint32_t b) {
    return float(((a * 2654435761u) ^ (b * 40503u)) % 1000u) / 1000.0f;
}

}  // namespace

void kick(CStereoTrack& out, double at, float gain) {
    const size_t start = sampleAt(at), length = sampleAt(0.5);
    CNoiseSource noise{uint32_t(start)};
    float phase = 0.0f;
    for (size_t i = 0; i < length; ++i) {
        const float t = float(i) / kSampleRate;
        // A fast sweep, so the body's long low lobes come while it is still at full strength.
        const float frequency = 46.0f + 130.0f * std::exp(-t / 0.015f);
        phase += frequency / kSampleRate;
        const float body = t < 0.13f ? 1.0f : std::exp(-(t - 0.13f) / 0.07f);
        const float fade = std::min(1.0f, t / 0.0015f) * std::min(1.0f, (0.5f - t) / 0.02f);
        const float click = noise.next() * std::exp(-t / 0.0015f) * 0.1f;
        // Saturated into a rounded square: fuller lobes, more weight in the lowest band.
        const float wave = std::tanh(3.5f * std::sin(kTwoPi * phase)) / std::tanh(3.5f);
        const float v = gain * (fade * body * wave + click);
        out.add(start + i, v, v);
    }
}

void clap(CStereoTrack& out, double at, float gain, uint32_t seed) {
    const size_t start = sampleAt(at), length = sampleAt(0.3);
    CNoiseSource noise(seed);
    CSvFilter left(1300.0f, 0.4f), right(1500.0f, 0.4f);
    for (size_t i = 0; i < length; ++i) {
        const float t = float(i) / kSampleRate;
        // Three quick slaps, then the room's tail.
        const float slap = std::exp(-std::fmod(t, 0.011f) / 0.003f) * (t < 0.033f ? 1.0f : 0.0f);
        const float tail = t >= 0.022f ? std::exp(-(t - 0.022f) / 0.07f) : 0.0f;
        const float amp = gain * std::max(slap, tail);
        out.add(start + i, left.process(noise.next()).band * amp * 2.5f,
                right.process(noise.next()).band * amp * 2.5f);
    }
}

void hat(CStereoTrack& out, double at, float gain, float decay, uint32_t seed) {
    const size_t start = sampleAt(at), length = sampleAt(decay * 6.0f);
    CNoiseSource noise(seed);
    CSvFilter filter(7500.0f, 0.3f);
    for (size_t i = 0; i < length; ++i) {
        const float t = float(i) / kSampleRate;
        const float v = filter.process(noise.next()).high * gain * std::exp(-t / decay);
        out.add(start + i, v * 0.8f, v);
    }
}

void snare(CStereoTrack& out, double at, float gain, uint32_t seed) {
    const size_t start = sampleAt(at), length = sampleAt(0.25);
    CNoiseSource noise(seed);
    CSvFilter filter(2500.0f, 0.2f);
    COscillator tone(190.0f, 0.0f);
    for (size_t i = 0; i < length; ++i) {
        const float t = float(i) / kSampleRate;
        const float body = tone.sine() * std::exp(-t / 0.04f) * 0.6f;
        const float rattle = filter.process(noise.next()).band * std::exp(-t / 0.07f) * 1.6f;
        const float v = gain * (body + rattle);
        out.add(start + i, v, v);
    }
}

void crash(CStereoTrack& out, double at, float gain, uint32_t seed) {
    const size_t start = sampleAt(at), length = sampleAt(2.5);
    CNoiseSource left(seed), right(seed + 7);
    CSvFilter fl(5000.0f, 0.1f), fr(5200.0f, 0.1f);
    for (size_t i = 0; i < length; ++i) {
        const float amp = gain * std::exp(-float(i) / kSampleRate / 0.7f);
        out.add(start + i, fl.process(left.next()).high * amp, fr.process(right.next()).high * amp);
    }
}

void riser(CStereoTrack& out, double at, double length, float gain, uint32_t seed) {
    const size_t start = sampleAt(at), count = sampleAt(length);
    CNoiseSource left(seed), right(seed + 3);
    CSvFilter fl(300.0f, 0.6f), fr(300.0f, 0.6f);
    for (size_t i = 0; i < count; ++i) {
        const float x = float(i) / float(count);
        if (i % 32 == 0) {
            const float cutoff = 300.0f * std::pow(25.0f, x);
            fl.set(cutoff, 0.6f);
            fr.set(cutoff * 1.05f, 0.6f);
        }
        const float amp = gain * x * x;
        out.add(start + i, fl.process(left.next()).band * amp, fr.process(right.next()).band * amp);
    }
}

void bass(CStereoTrack& out, const SNote& note, float brightness) {
    const size_t start = sampleAt(note.at), count = sampleAt(note.length + 0.02);
    const float f = noteFrequency(note.midi);
    COscillator sub(f, 0.0f), saw(f * 2.0f, 0.25f);
    CSvFilter filter(400.0f, 0.35f);
    for (size_t i = 0; i < count; ++i) {
        const float t = float(i) / kSampleRate;
        if (i % 32 == 0)
            filter.set(180.0f + 420.0f * brightness + 2200.0f * brightness * std::exp(-t / 0.09f),
                       0.35f);
        const float env = envelope(t, 0.004f, float(note.length), 0.02f);
        const float v =
            note.gain * env * (sub.sine() * 0.8f + filter.process(saw.saw()).low * 0.45f);
        out.add(start + i, v, v);
    }
}

void pad(CStereoTrack& out, double at, double length, const std::vector<int>& chord, float gain,
         float cutoffStart, float cutoffEnd) {
    const size_t start = sampleAt(at), held = sampleAt(length), count = sampleAt(length + 0.6);
    const float detune[5] = {-0.08f, -0.03f, 0.0f, 0.04f, 0.09f};
    const float pans[5] = {-0.8f, 0.5f, 0.0f, -0.4f, 0.8f};
    float lefts[5], rights[5];
    for (int d = 0; d < 5; ++d) {
        lefts[d] = panLeft(pans[d]);
        rights[d] = panRight(pans[d]);
    }
    std::vector<COscillator> voices;
    for (size_t n = 0; n < chord.size(); ++n)
        for (int d = 0; d < 5; ++d)
            voices.emplace_back(noteFrequency(chord[n] + detune[d]),
                                phaseSeed(uint32_t(n), uint32_t(d)));
    CSvFilter fl(cutoffStart, 0.2f), fr(cutoffStart, 0.2f);
    const float scale = gain / std::sqrt(float(voices.size()));
    for (size_t i = 0; i < count; ++i) {
        if (i % 64 == 0) {
            const float x = std::min(1.0f, float(i) / float(held));
            const float cutoff = cutoffStart * std::pow(cutoffEnd / cutoffStart, x);
            fl.set(cutoff, 0.2f);
            fr.set(cutoff, 0.2f);
        }
        float l = 0.0f, r = 0.0f;
        for (size_t v = 0; v < voices.size(); ++v) {
            const float s = voices[v].saw();
            l += s * lefts[v % 5];
            r += s * rights[v % 5];
        }
        const float env = envelope(float(i) / kSampleRate, 0.3f, float(length), 0.6f) * scale;
        out.add(start + i, fl.process(l).low * env, fr.process(r).low * env);
    }
}

void organ(CStereoTrack& out, double at, double length, const std::vector<int>& chord, float gain) {
    const size_t start = sampleAt(at), count = sampleAt(length + 0.1);
    std::vector<COscillator> tones, overtones;
    for (size_t n = 0; n < chord.size(); ++n) {
        tones.emplace_back(noteFrequency(float(chord[n])), phaseSeed(uint32_t(n), 7));
        overtones.emplace_back(noteFrequency(float(chord[n] + 12)), phaseSeed(uint32_t(n), 9));
    }
    for (size_t i = 0; i < count; ++i) {
        float sum = 0.0f;
        for (size_t n = 0; n < tones.size(); ++n)
            sum += tones[n].sine() + 0.25f * overtones[n].sine();
        const float v = sum * gain * envelope(float(i) / kSampleRate, 0.02f, float(length), 0.1f);
        out.add(start + i, v, v);
    }
}

void pluck(CStereoTrack& out, const SNote& note, float cutoff, float pan) {
    const size_t start = sampleAt(note.at), count = sampleAt(note.length + 0.25);
    const float f = noteFrequency(note.midi);
    COscillator a(f, 0.0f), b(f * 1.004f, 0.5f);
    CSvFilter filter(cutoff, 0.3f);
    const float left = panLeft(pan), right = panRight(pan);
    for (size_t i = 0; i < count; ++i) {
        const float t = float(i) / kSampleRate;
        if (i % 32 == 0) filter.set(cutoff * (0.25f + 0.75f * std::exp(-t / 0.06f)), 0.3f);
        const float env = std::min(1.0f, t / 0.002f) * std::exp(-t / 0.12f);
        const float v = note.gain * env * filter.process(a.saw() * 0.6f + b.square() * 0.4f).low;
        out.add(start + i, v * left, v * right);
    }
}

void lead(CStereoTrack& out, const SNote& note) {
    const size_t start = sampleAt(note.at), count = sampleAt(note.length + 0.12);
    const float f = noteFrequency(note.midi);
    COscillator a(f, 0.1f), b(f, 0.6f), vibrato(5.2f, 0.0f);
    CSvFilter fl(3000.0f, 0.25f), fr(3000.0f, 0.25f);
    for (size_t i = 0; i < count; ++i) {
        const float t = float(i) / kSampleRate;
        const float depth = std::min(1.0f, std::max(0.0f, t - 0.18f) * 4.0f) * 0.004f;
        const float wobble = 1.0f + depth * vibrato.sine();
        a.setFrequency(f * 0.997f * wobble);
        b.setFrequency(f * 1.003f * wobble);
        if (i % 32 == 0) {
            fl.set(1800.0f + 2600.0f * std::exp(-t / 0.2f), 0.25f);
            fr.set(1900.0f + 2600.0f * std::exp(-t / 0.2f), 0.25f);
        }
        const float env = envelope(t, 0.006f, float(note.length), 0.12f) * note.gain;
        out.add(start + i, fl.process(a.saw()).low * env, fr.process(b.saw()).low * env);
    }
}

}  // namespace instruments
