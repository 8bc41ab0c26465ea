// Test support: writes small Ogg Vorbis files from samples (libvorbisenc), decodes them back
// straight through libvorbisfile as the reference, reads what SDL's disk audio driver recorded,
// and makes test signals.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/scratchdir.h"  // scratchPath

// Interleaved samples in -1..1; false if encoding or writing fails.
bool writeOgg(const std::string& path, const std::vector<float>& samples, int channels, int rate);

// The whole file as interleaved 16-bit samples in the file's own channels and rate.
std::vector<int16_t> decodeOgg(const std::string& path);

// The 16-bit samples SDL's disk audio driver wrote.
std::vector<int16_t> readRecording(const std::string& path);

// Where `expected` begins in `recorded` (both interleaved stereo), judged by its first 2048
// frames; std::string::npos when it does not occur.
size_t findStart(const std::vector<int16_t>& recorded, const std::vector<int16_t>& expected);

// A busy, never-repeating stereo test signal (tones and noise), interleaved.
std::vector<float> testMusic(int frames, int rate);
