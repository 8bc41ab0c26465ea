// The show's music player: starts the music track, positions it and hands the scenes the
// spectrum of what is heard. Failures are reported in a box and the show goes on silently.
// Main thread only; one instance at a time (it owns the audio device while it lives).
#pragma once

#include <memory>
#include <string>

#include "audio/bassapi.h"

struct SDL_Window;

class CBass {
public:
    CBass();
    ~CBass();
    CBass(const CBass&) = delete;
    CBass& operator=(const CBass&) = delete;

    // False only when the device cannot be opened; a file that cannot be played is reported
    // and leaves `stream` 0, but still returns true.
    bool init(const char* name, SDL_Window* window);
    void play();
    void stop();
    void setVolume(unsigned int volume);
    void setPosition(float seconds);
    // The same buffer every call: 512 floats, the first 256 refreshed from the music.
    float* getSpectrum();

    // The error box for a music file that cannot be played, naming the file and then `reason`
    // (": " and the decoder's words, as it said them when it refused the file); offline runs,
    // which play nothing, report their music with it too.
    static void reportUnplayable(const std::string& name, const std::string& reason);

    HSTREAM stream;
    std::string fileName;
    std::unique_ptr<float[]> spectrum;
};
