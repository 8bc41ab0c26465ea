#include "song.h"

#include <algorithm>
#include <cmath>

#include "masterbus.h"
#include "reverb.h"

namespace {

using instruments::SNote;

// A minor: i - VI - III - VII, one chord per bar.
const std::vector<std::vector<int>> kChords = {
    {57, 60, 64, 69}, {53, 60, 65, 69}, {55, 60, 64, 67}, {55, 59, 62, 67, 71}};
const int kRoots[4] = {33, 29, 36, 31};  // A1 F1 C2 G1

struct SMelodyNote {
    int bar, step, length, midi;
};
// Eight bars over the progression, in sixteenths.
const SMelodyNote kMelody[] = {
    {0, 0, 3, 76},  {0, 3, 3, 72}, {0, 6, 2, 69},  {0, 8, 2, 72},  {0, 10, 2, 76}, {0, 12, 4, 74},
    {1, 0, 3, 72},  {1, 3, 3, 69}, {1, 6, 2, 65},  {1, 8, 2, 69},  {1, 10, 2, 72}, {1, 12, 4, 76},
    {2, 0, 3, 79},  {2, 3, 3, 76}, {2, 6, 2, 72},  {2, 8, 2, 76},  {2, 10, 2, 79}, {2, 12, 2, 81},
    {2, 14, 2, 79}, {3, 0, 6, 74}, {3, 6, 2, 71},  {3, 8, 4, 74},  {3, 12, 4, 67}, {4, 0, 3, 81},
    {4, 3, 3, 79},  {4, 6, 2, 76}, {4, 8, 2, 72},  {4, 10, 2, 76}, {4, 12, 4, 79}, {5, 0, 3, 77},
    {5, 3, 3, 76},  {5, 6, 2, 72}, {5, 8, 2, 69},  {5, 10, 2, 72}, {5, 12, 4, 77}, {6, 0, 3, 76},
    {6, 3, 3, 79},  {6, 6, 4, 84}, {6, 10, 2, 83}, {6, 12, 4, 79}, {7, 0, 4, 83},  {7, 4, 2, 81},
    {7, 6, 2, 79},  {7, 8, 8, 74},
};

const int kBars = int(CSong::kLength / CSong::kBar) + 1;

bool beat(int bar) {
    return (bar >= 32 && bar < 64) || (bar >= 80 && bar < 120);
}
bool drop(int bar) {
    return bar >= 80 && bar < 112;
}
bool build(int bar) {
    return (bar >= 28 && bar < 32) || (bar >= 76 && bar < 80);
}

}  // namespace

CSong::CSong()
    : kickBus(sampleAt(kLength)),
      drumBus(sampleAt(kLength)),
      musicBus(sampleAt(kLength)),
      reverbSend(sampleAt(kLength)),
      delaySend(sampleAt(kLength)) {}

void CSong::drums(int bar) {
    const uint32_t seed = uint32_t(bar) * 16;
    if (beat(bar)) {
        // Under the greetings the kick alone must reach the top of the lowest band; in the drop
        // it leaves more room for the rest.
        const bool loud = !drop(bar);
        for (int step = 0; step < 16; step += 4) {
            instruments::kick(kickBus, at(bar, step), loud ? 0.92f : 0.72f);
            kicks.push_back({at(bar, step), loud ? 0.92f : 0.6f});
        }
        instruments::clap(drumBus, at(bar, 4), 0.22f, seed + 1);
        instruments::clap(drumBus, at(bar, 12), 0.22f, seed + 2);
        instruments::clap(reverbSend, at(bar, 4), 0.2f, seed + 1);
    }
    const bool hats = bar >= 16 && bar < 124 && !(bar >= 64 && bar < 76);
    for (int step = 2; hats && step < 16; step += 4) {
        const bool open = drop(bar);
        instruments::hat(drumBus, at(bar, step), bar < 32 ? 0.07f : 0.12f, open ? 0.09f : 0.03f,
                         seed + step);
    }
    for (int step = 0; (drop(bar) || (bar >= 48 && bar < 64)) && step < 16; ++step)
        if (step % 4 != 2)
            instruments::hat(drumBus, at(bar, step), step % 2 ? 0.04f : 0.06f, 0.018f,
                             seed + 100 + step);
    if (build(bar)) {
        const int phase = bar % 4;  // 0..3 within the build
        const int every = phase < 2 ? 4 : (phase == 2 ? 2 : 1);
        for (int step = 0; step < 16; step += every)
            instruments::snare(drumBus, at(bar, step),
                               0.08f + 0.05f * phase + 0.01f * step * (phase == 3),
                               seed + 200 + step);
        if (phase == 0) instruments::riser(drumBus, at(bar), 4 * kBar, 0.25f, seed + 300);
    }
    if (bar == 32 || bar == 48 || bar == 80 || bar == 96 || bar == 112)
        instruments::crash(drumBus, at(bar), 0.12f, seed + 400);
}

void CSong::bassLine(int bar) {
    const int root = kRoots[bar % 4];
    if (bar >= 4 && bar < 32) {
        // The intro's plucked eighths an octave up, jumping to the octave and the fifth from
        // the second half on: the credits pulse with them.
        const float gain = std::min(0.45f, 0.3f + 0.01f * (bar - 4));
        const int lift[8] = {0, 12, 0, 12, 0, 12, 7, 12};
        for (int step = 0; step < 16; step += 2) {
            const int note = root + 12 + (bar >= 16 ? lift[step / 2] : 0);
            instruments::bass(musicBus,
                              {at(bar, step), 0.12, float(note), step % 4 ? gain * 0.7f : gain},
                              0.2f + bar * 0.01f);
        }
    } else if (beat(bar)) {
        // A galloping bass between the kicks: the off-beat and the sixteenth after it.
        for (int step = 0; step < 16; ++step) {
            if (step % 4 < 2) continue;
            const float gain = (step % 4 == 2 ? 0.45f : 0.32f) * (drop(bar) ? 0.7f : 1.0f);
            instruments::bass(musicBus, {at(bar, step), 0.08, float(root), gain},
                              drop(bar) ? 0.9f : 0.6f);
        }
    } else if (bar >= 64 && bar < 128) {
        instruments::bass(musicBus, {at(bar), kBar - 0.05, float(root), bar < 80 ? 0.3f : 0.25f},
                          0.1f);
    }
}

void CSong::chords(int bar, CStereoTrack& out) {
    const std::vector<int>& chord = kChords[bar % 4];
    float gain = 0.22f, from = 2200.0f, to = 2600.0f;
    if (bar < 4) {
        gain = 0.08f + 0.035f * bar;
        from = 300.0f + 300.0f * bar;
        to = from + 300.0f;
    } else if (bar >= 64 && bar < 80) {
        gain = 0.26f;
        from = to = 1600.0f + 100.0f * (bar - 64);
    } else if (drop(bar)) {
        gain = 0.5f;
        from = to = 1600.0f;
    } else if (bar >= 112) {
        gain = 0.22f;
        from = to = std::max(500.0f, 2600.0f - 110.0f * (bar - 112));
    }
    instruments::pad(out, at(bar), kBar, chord, gain, from, to);
    if (drop(bar)) instruments::organ(out, at(bar), kBar, chord, 0.26f);
}

void CSong::arpeggio(int bar, CStereoTrack& out) {
    if (bar < 8 || bar >= 128) return;
    const std::vector<int>& chord = kChords[bar % 4];
    const int order[16] = {0, 1, 2, 3, 4, 3, 2, 1, 0, 2, 1, 3, 2, 4, 3, 1};
    const float cutoff =
        bar < 32 ? 900.0f + 40.0f * (bar - 8) : (bar >= 64 && bar < 80 ? 3000.0f : 2600.0f);
    const float gain = bar < 32 ? 0.1f : 0.12f;
    for (int step = 0; step < 16; ++step) {
        const int k = order[step];
        const float midi = float(k < 4 ? chord[k] + 12 : chord[0] + 24);
        const SNote note{at(bar, step), 0.05, midi, gain};
        instruments::pluck(out, note, cutoff, step % 2 ? 0.4f : -0.4f);
    }
}

void CSong::melody(int bar, CStereoTrack& out) {
    const bool on = (bar >= 48 && bar < 112);
    if (!on) return;
    const int phrase = (bar - 48) % 8;
    const float gain = bar >= 64 && bar < 80 ? 0.13f : 0.16f;
    for (const SMelodyNote& m : kMelody) {
        if (m.bar != phrase) continue;
        const SNote note{at(bar, m.step), m.length * kBar / 16.0 - 0.02, float(m.midi), gain};
        instruments::lead(out, note);
        if (bar >= 96) instruments::lead(out, {note.at, note.length, note.midi - 12, gain * 0.8f});
    }
}

void CSong::mixDown(CStereoTrack& out) {
    masterbus::pingPongDelay(delaySend, 3.0 * kBar / 16.0, 0.45f);
    musicBus.mix(delaySend, 0.5f);
    reverbSend.mix(delaySend, 0.3f);
    CReverb reverb(0.85f, 0.4f);
    reverb.process(reverbSend);
    musicBus.mix(reverbSend, 0.9f);
    masterbus::saturate(musicBus, 1.4f);
    masterbus::duck(musicBus, kicks, 1.0f, 0.11f);
    masterbus::duck(drumBus, kicks, 0.35f, 0.05f);
    out.mix(kickBus, 1.0f);
    out.mix(drumBus, 1.0f);
    out.mix(musicBus, 1.0f);
    masterbus::fadeOut(out, at(120), 209.5);
    masterbus::limit(out, kCeiling);
}

void CSong::layer(void (CSong::*part)(int, CStereoTrack&), float reverb, float delay) {
    CStereoTrack track(sampleAt(kLength));
    for (int bar = 0; bar < kBars; ++bar) (this->*part)(bar, track);
    musicBus.mix(track, 1.0f);
    if (reverb > 0.0f) reverbSend.mix(track, reverb);
    if (delay > 0.0f) delaySend.mix(track, delay);
}

CStereoTrack CSong::render() {
    for (int bar = 0; bar < kBars; ++bar) {
        drums(bar);
        bassLine(bar);
    }
    layer(&CSong::chords, 0.8f, 0.0f);
    layer(&CSong::arpeggio, 0.0f, 1.0f);
    layer(&CSong::melody, 1.0f, 0.6f);
    CStereoTrack out(sampleAt(kLength));
    mixDown(out);
    return out;
}
