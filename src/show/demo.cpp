#include "show/demo.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/show.h"
#include "core/systemreason.h"
#include "fixedgl/gl.h"
#include "platform/display.h"
#include "platform/message.h"
#include "platform/messagebox.h"
#include "render/overlay.h"
#include "show/barfile.h"
#include "show/timeline.h"

namespace {

// Only a window is measured against the display: full screen takes the desktop as it is, and
// offline runs draw the frame alone.
bool resolutionFits(int width, int height, bool inWindow, std::string& problem) {
    int maxWidth = kLargestPictureSide, maxHeight = kLargestPictureSide;
    if (inWindow) largestWindowSize(maxWidth, maxHeight);
    if (width > 0 && height > 0 && width <= maxWidth && height <= maxHeight) return true;
    problem = "The bar file asks for a resolution of " + std::to_string(width) + "x" +
              std::to_string(height) + ", which " +
              (inWindow ? "the display cannot show" : "is beyond any picture") + " (at most " +
              std::to_string(maxWidth) + "x" + std::to_string(maxHeight) + ").";
    return false;
}

}  // namespace

CDemo::CDemo(const COptions& options, CTickSource* ticks)
    : timer(ticks),
      endTime(kShowEndTime),
      time(0),
      startTime(0),
      done(false),
      deltaTime(0),
      musicName(std::string(kMusicFolder) + kMusicFile),
      musicEnabled(true),
      fullscreen(true),
      xres(800),
      yres(600),
      bpm(0),
      windowOpened(false),
      offline(options.offline()),
      windowedOption(options.windowed),
      frameHook(nullptr) {
    // Before the window opens, so that its resolution and full-screen flag apply; what the user
    // typed on the command line wins over the file.
    if (!options.barsFile.empty()) loadBars(options.barsFile.c_str());
    if (options.windowed || offline) fullscreen = false;
    if (options.startGiven) startTime = options.start;
    if (options.noMusic) musicEnabled = false;
    window = std::make_unique<CGLWindow>();
    // Nobody sees an offline window: at the frame's size its surface stays small, and its swaps
    // need neither wait for the display nor show the frame.
    if (offline) {
        windowOpened = window->initWindow(kFrameWidth, kFrameHeight, false);
        window->presenting = false;
    } else {
        windowOpened = window->initWindow(xres, yres, fullscreen);
        if (windowOpened) window->setVSync(options.vsync);
    }
    if (windowOpened) window->setGLDefaults();
}

CDemo::~CDemo() {
    shutdown();
}

void CDemo::load() {
    loadingTexture.load("data/textures/loading.jpg");
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    beginOrtho(kFrameWidth, kFrameHeight);
    drawTexturedQuad(kCentredPictureX, kCentredPictureY, kCentredPictureSize, kCentredPictureSize,
                     loadingTexture.id);
    endOrtho();
    window->swapBuffers();
    // The loading picture is shown again once the first scene exists, then the rest are made.
    appendScene(kTimeline[0]);
    window->swapBuffers();
    for (size_t i = 1; i < kTimelineLength; ++i) appendScene(kTimeline[i]);
    for (const auto& scene : scenes) scene->init();
    // Offline runs take the spectrum from the file and must not open an audio device.
    if (musicEnabled && !offline) {
        bass.init(musicName.c_str(), window->hwnd);
        bass.play();
        bass.setPosition(startTime);
    }
    timer.start();
}

void CDemo::appendScene(const STimelineSlot& slot) {
    std::unique_ptr<CScene> scene = slot.make();
    scene->start = slot.start;
    scene->duration = slot.duration;
    scenes.push_back(std::move(scene));
}

void CDemo::run() {
    beginRun();
    while (!done) runFrame();
}

void CDemo::beginRun() {
    time = startTime;
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
    if (frameHook != nullptr && !frameHook->frameDrawn(time)) done = true;
    window->swapBuffers();
    if (!offline) window->updateCaption(time);  // nobody sees an offline window's caption
    if (taken) msg.dispatch();
}

bool CDemo::opensWindow(bool fileFullscreen) const {
    return !offline && (windowedOption || !fileFullscreen);
}

bool CDemo::isActive(const CScene& scene, float t) {
    double end = static_cast<double>(scene.start) + static_cast<double>(scene.duration);
    return t > scene.start && end > t;
}

// In an overlap each active scene is updated and drawn in timeline order, the later one over the
// earlier.
void CDemo::drawScenes() {
    for (const auto& scene : scenes) {
        if (!isActive(*scene, time)) continue;
        scene->time = time;
        scene->deltaTime = deltaTime;
        scene->localTime = scene->localTime + deltaTime;
        scene->update();
        scene->draw(spectrum());
    }
}

bool CDemo::loadBars(const char* fileName) {
    // A folder opens like a file on Linux, and would only seem to end early; on Windows it does
    // not open at all. Either way it is named for what it is.
    std::error_code ignored;
    if (fileName != nullptr && std::filesystem::is_directory(fileName, ignored)) {
        std::string text = std::string("Unable to open bar file ") + fileName + ": it is a folder.";
        showError(text.c_str(), "CDemo::loadBars()");
        return false;
    }
    std::ifstream infile;
    errno = 0;
    if (fileName != nullptr) infile.open(fileName, std::ios::binary);
    if (!infile.is_open()) {
        std::string text = "Unable to open bar file";
        if (fileName != nullptr) text += std::string(" ") + fileName + systemReason(errno);
        showError(text.c_str(), "CDemo::loadBars()");
        return false;
    }
    CBarFile file;
    std::string problem;
    if (!file.read(infile, problem) ||
        !resolutionFits(file.xres, file.yres, opensWindow(file.fullscreen), problem)) {
        showError(problem.c_str(), "CDemo::loadBars()");
        return false;
    }
    demoName = file.demoName;
    startTime = file.startTime;
    xres = file.xres;
    yres = file.yres;
    fullscreen = file.fullscreen;
    musicEnabled = file.musicEnabled;
    bpm = file.bpm;
    musicName = file.musicName;
    bars = std::move(file.bars);
    return true;
}

// Asked once per scene drawn, as the scenes expect a fresh reading each time.
float* CDemo::spectrum() {
    if (frameHook != nullptr) return frameHook->spectrum(time);
    return bass.getSpectrum();
}

// The window (and the GL context) first, then the scenes in timeline order; the array keeps its
// length, its entries null.
void CDemo::shutdown() {
    window.reset();
    for (auto& scene : scenes) scene.reset();
}
