#include <SDL.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "core/show.h"
#include "scenes/creditsscene.h"
#include "scenes/endscene.h"
#include "scenes/greetingsscene.h"
#include "scenes/spikescene.h"
#include "scenes/tunnelscene.h"
#include "show/demo.h"
#include "show/timeline.h"
#include "support/messagerecorder.h"
#include "support/scriptedticks.h"

namespace {

constexpr int64_t kRate = int64_t{1} << 20;  // readings are exact multiples of 2^-20 s

int64_t ticksAt(double seconds) {
    return std::llround(seconds * kRate);
}

struct Call {
    std::string scene;
    std::string what;
    float time;
    float deltaTime;
    float localTime;
};

class RecordingScene : public CScene {
public:
    RecordingScene(std::string sceneName, std::vector<Call>& log) : name(sceneName), calls(log) {}
    void update() override { calls.push_back({name, "update", time, deltaTime, localTime}); }
    void draw(float* spectrum) override {
        calls.push_back(
            {name, spectrum ? "draw" : "draw without spectrum", time, deltaTime, localTime});
    }

    std::string name;
    std::vector<Call>& calls;
};

class DemoLoop : public ::testing::Test {
protected:
    // The demo over the real timeline, each scene replaced by a recorder with the same window.
    void makeDemo(float start) {
        COptions options;
        options.windowed = true;
        options.noMusic = true;
        options.startGiven = true;
        options.start = start;
        demo = new CDemo(options, &ticks);
        ASSERT_TRUE(demo->windowOpened);
        ticks.script = {0};  // timer.start() at counter 0
        ticks.after = ticksAt(1000);
        demo->load();
        ASSERT_EQ(demo->scenes.size(), kTimelineLength);
        for (size_t i = 0; i < kTimelineLength; ++i)
            replaceScene(i, std::make_unique<RecordingScene>(kTimeline[i].name, calls));
        readsBeforeRun = ticks.reads;
    }
    void replaceScene(size_t i, std::unique_ptr<CScene> recorder) {
        recorder->start = demo->scenes[i]->start;
        recorder->duration = demo->scenes[i]->duration;
        demo->scenes[i] = std::move(recorder);
    }
    // Each frame reads the clock twice: first for the frame time, then for the show time.
    void frame(double firstReading, double secondReading) {
        ticks.script.push_back(ticksAt(firstReading));
        ticks.script.push_back(ticksAt(secondReading));
    }
    void frame(double reading) { frame(reading, reading); }
    int framesRun() const { return (ticks.reads - readsBeforeRun) / 2; }
    std::vector<std::string> sceneOrder() const {
        std::vector<std::string> order;
        for (const Call& call : calls) order.push_back(call.scene + " " + call.what);
        return order;
    }
    void TearDown() override { delete demo; }

    MessageRecorder recorder;
    ScriptedTicks ticks{kRate};
    CDemo* demo = nullptr;
    std::vector<Call> calls;
    int readsBeforeRun = 0;
};

}  // namespace

TEST_F(DemoLoop, LoadBuildsTheTimelineInOrder) {
    COptions options;
    options.windowed = true;
    options.noMusic = true;
    CDemo real(options, &ticks);
    real.load();
    ASSERT_EQ(real.scenes.size(), 5u);
    EXPECT_NE(dynamic_cast<CCreditsScene*>(real.scenes[0].get()), nullptr);
    EXPECT_NE(dynamic_cast<CGreetingsScene*>(real.scenes[1].get()), nullptr);
    EXPECT_NE(dynamic_cast<CSpikeScene*>(real.scenes[2].get()), nullptr);
    EXPECT_NE(dynamic_cast<CTunnelScene*>(real.scenes[3].get()), nullptr);
    EXPECT_NE(dynamic_cast<CEndScene*>(real.scenes[4].get()), nullptr);
    // The one place the tests spell the windows out: every other test reads the table.
    const float windows[5][2] = {
        {0, 50.6f}, {50.6f, 50.5f}, {101.1f, 25.75f}, {126.4f, 50.6f}, {177.0f, 32.2f}};
    for (size_t i = 0; i < kTimelineLength; ++i) {
        EXPECT_EQ(kTimeline[i].start, windows[i][0]) << kTimeline[i].name;
        EXPECT_EQ(kTimeline[i].duration, windows[i][1]) << kTimeline[i].name;
        EXPECT_EQ(real.scenes[i]->start, kTimeline[i].start) << kTimeline[i].name;
        EXPECT_EQ(real.scenes[i]->duration, kTimeline[i].duration) << kTimeline[i].name;
        EXPECT_EQ(real.scenes[i]->localTime, 0.0f);
    }
}

TEST_F(DemoLoop, ExactlyAtAWindowEdgeNoSceneIsActive) {
    makeDemo(kTimeline[1].start);
    frame(0);  // credits end exactly where the greetings start
    demo->run();
    EXPECT_EQ(framesRun(), 2);
    EXPECT_TRUE(calls.empty());
}

TEST_F(DemoLoop, InTheOverlapTheSpikeRoomIsDrawnBeforeTheTunnel) {
    makeDemo(126.5f);
    frame(0.01);
    demo->run();
    std::vector<std::string> expected = {"spike update", "spike draw", "tunnel update",
                                         "tunnel draw"};
    EXPECT_EQ(sceneOrder(), expected);
}

TEST_F(DemoLoop, OverlapEndsWithTheSpikeRoomWindow) {
    makeDemo(126.8f);
    frame(0.04);  // 126.84: both
    frame(0.06);  // 126.86: tunnel only
    demo->run();
    std::vector<std::string> expected = {"spike update", "spike draw",    "tunnel update",
                                         "tunnel draw",  "tunnel update", "tunnel draw"};
    EXPECT_EQ(sceneOrder(), expected);
}

TEST_F(DemoLoop, StartOffsetSkipsEarlierScenesAndLocalTimeStartsAtTheFirstFrame) {
    makeDemo(60.0f);
    frame(0.001, 0.0011);
    frame(0.02, 0.0201);
    demo->run();
    ASSERT_EQ(calls.size(), 4u);
    for (const Call& call : calls) EXPECT_EQ(call.scene, "greetings");
    // The frame time comes from the first reading, the show time from the second.
    const double first = ticksAt(0.001) / double(kRate);
    EXPECT_EQ(calls[0].deltaTime, static_cast<float>((first + 60.0) - 60.0));
    EXPECT_EQ(calls[0].time, static_cast<float>(ticksAt(0.0011) / double(kRate) + 60.0));
    EXPECT_EQ(calls[0].localTime, calls[0].deltaTime);
    float second = static_cast<float>((ticksAt(0.02) / double(kRate) + 60.0) - calls[0].time);
    EXPECT_EQ(calls[2].deltaTime, second);
    EXPECT_EQ(calls[2].localTime, calls[0].deltaTime + second);
}

TEST_F(DemoLoop, AFrameAtExactlyTheEndTimeDoesNotEndTheShow) {
    makeDemo(209.0f);
    // A scene whose window reaches past the end shows that the last frame is drawn in full.
    auto late = std::make_unique<RecordingScene>("late", calls);
    late->start = 200;
    late->duration = 20;
    demo->scenes.push_back(std::move(late));
    frame(0.1);
    frame(0.2);  // the end time exactly: not past the end
    ASSERT_EQ(static_cast<float>(ticksAt(0.2) / double(kRate) + 209.0), kShowEndTime);
    frame(0.3);  // first frame past the end: drawn, then the loop stops
    frame(0.4);
    demo->run();
    EXPECT_EQ(framesRun(), 3);
    EXPECT_TRUE(demo->done);
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back().scene + " " + calls.back().what, "late draw");
    EXPECT_GT(calls.back().time, kShowEndTime);
    EXPECT_EQ(ticks.script.size(), 2u) << "the frame after the end must not run";
}

void pushEvent(Uint32 type) {
    SDL_Event event{};
    event.type = type;
    SDL_PushEvent(&event);
}

TEST_F(DemoLoop, QuitEndsTheLoopWithoutDrawing) {
    makeDemo(10.0f);
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    pushEvent(SDL_QUIT);
    frame(0.1);
    demo->run();
    EXPECT_EQ(framesRun(), 0);
    EXPECT_TRUE(calls.empty());
}

TEST_F(DemoLoop, OneMessageIsTakenPerFrame) {
    makeDemo(10.0f);
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    for (int i = 0; i < 3; ++i) pushEvent(SDL_USEREVENT);
    pushEvent(SDL_QUIT);
    for (int i = 1; i <= 10; ++i) frame(0.1 * i);
    demo->run();
    EXPECT_EQ(framesRun(), 3);
}

TEST_F(DemoLoop, EscapeEndsTheShowAfterTheFrameThatTookIt) {
    makeDemo(10.0f);
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    SDL_Event escape{};
    escape.type = SDL_KEYDOWN;
    escape.key.keysym.sym = SDLK_ESCAPE;
    SDL_PushEvent(&escape);
    for (int i = 1; i <= 10; ++i) frame(0.1 * i);
    demo->run();
    // The quit it posts is seen at the start of a later frame, behind any window events.
    EXPECT_GE(framesRun(), 1);
    EXPECT_LE(framesRun(), 3);
    EXPECT_EQ(sceneOrder().front(), "credits update");
}

TEST_F(DemoLoop, ClosingTheWindowEndsTheShow) {
    makeDemo(10.0f);
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    SDL_Event close{};
    close.type = SDL_WINDOWEVENT;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    close.window.windowID = SDL_GetWindowID(demo->window->hwnd);
    SDL_PushEvent(&close);
    for (int i = 1; i <= 10; ++i) frame(0.1 * i);
    demo->run();
    EXPECT_LE(framesRun(), 2);
    EXPECT_GE(framesRun(), 1);
}

TEST_F(DemoLoop, ShutdownReleasesWindowThenScenesAndKeepsTheArrayLength) {
    makeDemo(0.0f);
    demo->shutdown();
    EXPECT_EQ(demo->window, nullptr);
    ASSERT_EQ(demo->scenes.size(), 5u);
    for (const auto& scene : demo->scenes) EXPECT_EQ(scene.get(), nullptr);
}
