// A capture or benchmark run of the show: steps the clock one frame at a time, picks the frames
// that lie in the chosen range, writes them (PNG frames or a video) or times them, shows
// progress, and stops on Ctrl-C or past the range. CDemo's main loop draws every frame as
// always; this only looks on through CFrameHook. Main thread; needs the demo's GL context.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "offline/benchmark.h"
#include "offline/framecapture.h"
#include "offline/framespectrum.h"
#include "offline/progress.h"
#include "offline/steppingticks.h"
#include "offline/videoencoder.h"
#include "platform/stopsignals.h"
#include "show/framehook.h"
#include "show/options.h"

class CDemo;

class COfflineRun : public CFrameHook {
public:
    explicit COfflineRun(const COptions& options);

    // Before the window opens: checks the range and the capture name, finds ffmpeg or makes the
    // frame folder, and takes over Ctrl-C until finish(). On failure nothing has been rendered
    // and `error` says why.
    bool prepare(std::string& error);

    CSteppingTicks& ticks() { return steppingTicks; }

    // Hooks into a constructed demo and reports a music file it cannot use; call before load().
    void attach(CDemo& demo);
    // After the demo's load(): starts the frame clock. loadSeconds: how long loading took.
    void beginRendering(double loadSeconds);
    float* spectrum(float time) override { return frameSpectrum.at(time); }
    bool frameDrawn(float time) override;
    // After the demo's run(): finishes the video, prints the summary (and the benchmark's
    // table on `out`). Returns the program's exit status.
    int finish(FILE* out);

    // Exact show time of frame k, without the float rounding of the show's clock.
    double exactTime(int64_t frame) const;
    // Roughly how many frames the run will draw, for the time left.
    int64_t expectedFrames() const;

private:
    using Clock = std::chrono::steady_clock;

    bool checkRange(std::string& error) const;
    int64_t framesUntil(double limit) const;
    bool inRange(int64_t frame) const;
    void timeFrame(int64_t frame, float time);
    bool writeFrame(int64_t frame, float time);
    int64_t lastFrameToWrite(int64_t first) const;
    bool openVideo(float time);
    std::string summary(double renderSeconds) const;

    const COptions& options;
    CSteppingTicks steppingTicks;
    CFrameSpectrum frameSpectrum;
    CDemo* demo;
    bool toVideo;
    std::string ffmpeg;
    CFrameCapture pictures;
    CVideoEncoder video;
    std::unique_ptr<CBenchmark> benchmark;
    std::vector<size_t> activeScenes;  // of the frame being timed
    std::unique_ptr<CProgress> progress;
    std::unique_ptr<CStopSignals> stopSignals;
    std::vector<uint8_t> pixels;
    Clock::time_point renderStart;
    Clock::time_point lastFrameEnd;
    int64_t framesDrawn;
    int64_t framesWritten;
    int64_t firstWritten;
    int64_t lastWritten;
    float firstWrittenTime;
    float lastWrittenTime;
    int64_t frameLimit;   // the most frames this run may draw
    int64_t lastToWrite;  // where the video's sound track ends; -1 until a video is opened
    bool musicPlayable;
    std::string failure;
};
