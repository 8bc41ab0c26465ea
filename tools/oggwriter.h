// Encodes a stereo track as Ogg Vorbis (libvorbisenc, variable bit rate) with a fixed stream
// serial number, so the same samples always give the same bytes.
#pragma once

#include <string>

#include "stereotrack.h"

const int kOggSerial = 0x76786d6f;

// quality -0.1..1 as libvorbisenc takes it.
bool writeOgg(const std::string& path, const CStereoTrack& track, float quality,
              const std::string& title);

struct SDecodedOgg {
    bool ok = false;
    double seconds = 0;
    float peak = 0;  // largest absolute sample of any channel after decoding
};
// Decodes a file back (libvorbisfile, float samples) to see what lossy coding made of the peaks.
SDecodedOgg decodeOggPeak(const std::string& path);
