// The spine of the show: owns the window, the clock, the scenes and the settings, and runs the
// main loop over the fixed timeline. Lifecycle, always in this order: construct, load, run,
// shutdown, destroy. Main thread only.
#pragma once

#include <string>
#include <vector>

#include "assets/texture.h"
#include "audio/bass.h"
#include "core/barentry.h"
#include "core/framehook.h"
#include "core/framespectrum.h"
#include "core/options.h"
#include "core/scene.h"
#include "core/ticksource.h"
#include "core/timer.h"
#include "platform/glwindow.h"

class CDemo {
public:
    // Opens the window (its result in windowOpened) and sets the GL defaults.
    CDemo(const COptions& options, CTickSource* ticks);
    ~CDemo();

    void load();
    void run();
    void shutdown();

    // Reads a bar file into the settings below; a file that cannot be opened or is not sound is
    // reported and changes nothing.
    bool loadBars(const char* fileName);

    CGLWindow* window;
    CBass bass;
    CTimer timer;
    CTexture loadingTexture;
    float endTime;
    float time;
    float startTime;
    bool done;
    float deltaTime;
    std::string musicName;
    std::string demoName;
    bool musicEnabled;
    bool fullscreen;
    int xres;
    int yres;
    uint32_t bpm;  // the file's 4 bytes, integer or float
    std::vector<CScene*> scenes;
    std::vector<CBarEntry> bars;

    bool windowOpened;
    // Capture and benchmark runs: drawn offscreen on a stepping clock, no audio device opened.
    bool offline;
    CFrameHook* frameHook;          // not owned; told of every frame before it is shown
    CFrameSpectrum* frameSpectrum;  // not owned; in offline runs, the spectrum the scenes get

    // The dispatch rule: strictly inside the scene's window, the end summed in double.
    static bool isActive(const CScene& scene, float time);

private:
    void appendScene(CScene* scene, float start, float duration);
    void runFrame();
    void drawScenes();
    float* spectrum();
};
