// What a run of the program was asked for: the settings the command line gives, read by the demo
// and by capture and benchmark runs. Holds no behaviour of its own; with every field as it starts
// the show keeps its built-in behaviour. Parsing the command line is the program's top's.
#pragma once

#include <string>

struct COptions {
    bool windowed = false;
    std::string barsFile;
    bool startGiven = false;
    float start = 0;
    bool noMusic = false;
    bool vsync = true;    // live runs only; capture and benchmark ignore it
    std::string root;     // folder holding data/; empty: looked for (show/dataroot.h)
    std::string capture;  // folder of PNG frames, or a .mp4/.mkv/.webm file
    long fpsNumerator = 60;
    long fpsDenominator = 1;
    bool fromGiven = false;
    double from = 0;
    bool toGiven = false;
    double to = 0;
    bool silent = false;
    bool benchmark = false;
    bool help = false;
    bool version = false;

    // Capture and benchmark runs draw offscreen on a stepping clock.
    bool offline() const { return !capture.empty() || benchmark; }
};
