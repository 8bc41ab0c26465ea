// The command line of the program: what each option asks for, parsed and checked. Holds no
// behaviour of its own; with no options every field keeps the show's built-in behaviour.
#pragma once

#include <string>

struct COptions {
    bool windowed = false;
    std::string barsFile;
    bool startGiven = false;
    float start = 0;
    bool noMusic = false;
    bool vsync = true;    // live runs only; capture and benchmark ignore it
    std::string root;     // folder holding data/; empty: looked for (core/dataroot.h)
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

    // Fills the fields from argv; on a bad command line returns false with `error` set.
    bool parse(int argc, const char* const* argv, std::string& error);

    // Capture and benchmark runs draw offscreen on a stepping clock.
    bool offline() const { return !capture.empty() || benchmark; }

    static const char* usage();

private:
    bool takeFlag(const std::string& arg);
    bool takeValue(const std::string& arg, const char* value, std::string& error);
    bool takeSeconds(const std::string& arg, const char* value, std::string& error);
    bool takeRate(const char* value, std::string& error);
};
