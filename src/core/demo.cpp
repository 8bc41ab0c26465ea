#include "core/demo.h"

#include <GL/gl.h>

#include "platform/message.h"
#include "scenes/creditsscene.h"
#include "scenes/endscene.h"
#include "scenes/greetingsscene.h"
#include "scenes/spikescene.h"
#include "scenes/tunnelscene.h"

CDemo::CDemo(const COptions& options, CTickSource* ticks)
    : window(nullptr),
      timer(ticks),
      endTime(209.2f),
      time(0),
      startTime(0),
      done(false),
      deltaTime(0),
      musicName("data/music/Tarvok-Sunderline_(demo_edit).ogg"),
      musicEnabled(true),
      fullscreen(true),
      xres(800),
      yres(600),
      windowOpened(false) {
    if (options.windowed) fullscreen = false;
    if (options.startGiven) startTime = options.start;
    if (options.noMusic) musicEnabled = false;
    window = new CGLWindow();
    windowOpened = window->initWindow(xres, yres, fullscreen);
    if (windowOpened) window->setGLDefaults();
}

CDemo::~CDemo() {
    shutdown();
}

void CDemo::load() {
    appendScene(new CCreditsScene(), 0.0f, 50.6f);
    window->swapBuffers();
    appendScene(new CGreetingsScene(), 50.6f, 50.5f);
    appendScene(new CSpikeScene(), 101.1f, 25.75f);
    appendScene(new CTunnelScene(), 126.4f, 50.6f);
    appendScene(new CEndScene(), 177.0f, 32.2f);
    for (CScene* scene : scenes) scene->init();
    if (musicEnabled) {
        bass.init(musicName.c_str(), window->hwnd);
        bass.play();
        bass.setPosition(startTime);
    }
    timer.start();
}

void CDemo::appendScene(CScene* scene, float start, float duration) {
    scene->start = start;
    scene->duration = duration;
    scenes.push_back(scene);
}

void CDemo::run() {
    time = startTime;
    while (!done) runFrame();
}

// One message per frame: taken first, dispatched only after the frame is shown.
void CDemo::runFrame() {
    CMessage msg;
    bool taken = msg.peek();
    if (taken && msg.isQuit()) {
        done = true;
        return;
    }
    deltaTime = static_cast<float>((timer.elapsed() + startTime) - time);
    time = static_cast<float>(timer.elapsed() + startTime);
    if (time > endTime) done = true;
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawScenes();
    window->swapBuffers();
    window->updateCaption(time);
    if (taken) msg.dispatch();
}

// A scene is active strictly inside its window; in an overlap each active scene is updated and
// drawn in timeline order, the later one over the earlier.
void CDemo::drawScenes() {
    for (CScene* scene : scenes) {
        double end = static_cast<double>(scene->start) + static_cast<double>(scene->duration);
        if (!(time > scene->start && end > time)) continue;
        scene->time = time;
        scene->deltaTime = deltaTime;
        scene->localTime = scene->localTime + deltaTime;
        scene->update();
        scene->draw(bass.getSpectrum());
    }
}

void CDemo::shutdown() {
    delete window;
    window = nullptr;
    for (CScene*& scene : scenes) {
        delete scene;
        scene = nullptr;
    }
}
