// The show's music, "Sunderline (demo edit)": its arrangement on a grid of 1.58-second bars
// (about 151.9 beats per minute), rendered with the instruments and mixed to a limited stereo
// track. The scene changes at 50.6, 101.1, 126.4 and 177.0 s fall within 0.04 s of bars
// 32, 64, 80 and 112, the starts of the beat, the breakdown, the drop and the outro.
#pragma once

#include <vector>

#include "instruments.h"
#include "masterbus.h"
#include "stereotrack.h"

class CSong {
public:
    static constexpr double kBar = 1.58;
    static constexpr double kLength = 212.0;
    static constexpr float kCeiling = 0.93f;  // peak after limiting, about -0.63 dBFS

    CSong();
    // The finished mix, kLength seconds of it.
    CStereoTrack render();

    // The start of bar `bar` plus `step` sixteenth notes, in seconds.
    static double at(int bar, double step = 0.0) { return bar * kBar + step * kBar / 16.0; }

private:
    void drums(int bar);
    void bassLine(int bar);
    void chords(int bar, CStereoTrack& out);
    void arpeggio(int bar, CStereoTrack& out);
    void melody(int bar, CStereoTrack& out);
    // Renders one instrument part over the whole song, then adds it to the mix and the sends.
    void layer(void (CSong::*part)(int, CStereoTrack&), float reverb, float delay);
    void mixDown(CStereoTrack& out);

    CStereoTrack kickBus, drumBus, musicBus, reverbSend, delaySend;
    std::vector<masterbus::SDuck> kicks;
};
