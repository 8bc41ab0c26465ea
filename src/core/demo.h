// The spine of the show: owns the window, the clock, the scenes and the settings, and runs the
// main loop over the fixed timeline. Lifecycle, always in this order: construct, load, run,
// shutdown, destroy. Main thread only.
#pragma once

#include <string>
#include <vector>

#include "audio/bass.h"
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

    CGLWindow* window;
    CBass bass;
    CTimer timer;
    float endTime;
    float time;
    float startTime;
    bool done;
    float deltaTime;
    std::string musicName;
    bool musicEnabled;
    bool fullscreen;
    int xres;
    int yres;
    std::vector<CScene*> scenes;

    bool windowOpened;

  private:
    void appendScene(CScene* scene, float start, float duration);
    void runFrame();
    void drawScenes();
};
