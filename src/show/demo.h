// The spine of the show: owns the window, the clock, the scenes and the settings, and runs the
// main loop over the fixed timeline. Lifecycle, always in this order: construct, load, run,
// shutdown, destroy. Main thread only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "assets/texture.h"
#include "audio/bass.h"
#include "core/scene.h"
#include "core/timer.h"
#include "math/ticksource.h"
#include "platform/glwindow.h"
#include "show/barentry.h"
#include "show/framehook.h"
#include "show/options.h"
#include "show/timeline.h"

class CDemo {
public:
    // Opens the window (its result in windowOpened) and sets the GL defaults.
    CDemo(const COptions& options, CTickSource* ticks);
    ~CDemo();
    CDemo(const CDemo&) = delete;
    CDemo& operator=(const CDemo&) = delete;

    void load();
    // run() is beginRun() and runFrame() until done; a host that must give every frame back to
    // its caller (the browser) takes those steps itself.
    void run();
    void beginRun();
    void runFrame();
    void shutdown();

    // Reads a bar file into the settings below; a file that cannot be opened or is not sound is
    // reported and changes nothing. Its width and height size the window only.
    bool loadBars(const char* fileName);

    std::unique_ptr<CGLWindow> window;
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
    std::vector<std::unique_ptr<CScene>> scenes;
    std::vector<CBarEntry> bars;

    bool windowOpened;
    // Capture and benchmark runs: drawn offscreen on a stepping clock, no audio device opened.
    bool offline;
    // --windowed: a window whatever a bar file says.
    bool windowedOption;
    // Not owned; in offline runs, gives the scenes their spectrum and is told of every frame
    // before it is shown.
    CFrameHook* frameHook;

    // The dispatch rule: strictly inside the scene's window, the end summed in double.
    static bool isActive(const CScene& scene, float time);

private:
    bool opensWindow(bool fileFullscreen) const;
    void appendScene(const STimelineSlot& slot);
    void drawScenes();
    float* spectrum();
};
