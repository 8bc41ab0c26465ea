// A bar file read whole into memory and checked, so that its settings reach the demo only when
// the file is sound. Knows the layout; does not know the display or show any message.
#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "show/barentry.h"

class CBarFile {
public:
    // Reads every field from `in`, each as its own 4-byte little-endian read. A file that ends
    // early, announces more than the rest of it holds, or gives a start time that is not a
    // number of seconds from 0 on gives false and `problem` says why. A stream that cannot seek
    // (a pipe) is read whole first.
    bool read(std::istream& in, std::string& problem);

    std::string demoName;
    float startTime = 0;
    int32_t xres = 0;
    int32_t yres = 0;
    bool fullscreen = false;
    bool musicEnabled = false;
    uint32_t bpm = 0;
    std::string musicName;
    std::vector<CBarEntry> bars;

private:
    bool readUnsized(std::istream& stream, std::string& why);
    bool readField(uint32_t& value, const char* what);
    bool readText(std::string& text, const char* what);
    bool readBars();

    std::istream* in = nullptr;
    uint64_t left = 0;  // bytes not yet read
    std::string* problem = nullptr;
};
