#include "offline/offlinerun.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "audio/audioformat.h"
#include "audio/bass.h"
#include "audio/oggdecoder.h"
#include "core/show.h"
#include "core/systemreason.h"
#include "fixedgl/gl.h"
#include "platform/host.h"
#include "show/demo.h"
#include "show/timeline.h"

namespace fs = std::filesystem;

namespace {

// Range ends given in decimal seconds meet frame times counted from the show's float start
// (50.6 s is 50.5999985 s): ten microseconds of slack, far below a frame at any usable rate,
// keep "--start 50.6 --from 70 --to 70" and "--to 0.1" at 30 fps from losing their frame.
const double kSlack = 1e-5;

std::string format(const char* pattern, ...) __attribute__((format(printf, 1, 2)));

std::string format(const char* pattern, ...) {
    char text[256];
    va_list arguments;
    va_start(arguments, pattern);
    std::vsnprintf(text, sizeof text, pattern, arguments);
    va_end(arguments);
    return text;
}

double secondsBetween(std::chrono::steady_clock::time_point from,
                      std::chrono::steady_clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

}  // namespace

COfflineRun::COfflineRun(const COptions& runOptions)
    : options(runOptions),
      steppingTicks(runOptions.fpsNumerator, runOptions.fpsDenominator),
      demo(nullptr),
      toVideo(CVideoEncoder::isVideoPath(runOptions.capture)),
      pictures(runOptions.capture),
      framesDrawn(0),
      framesWritten(0),
      firstWritten(-1),
      lastWritten(-1),
      firstWrittenTime(0),
      lastWrittenTime(0),
      frameLimit(0),
      lastToWrite(-1),
      musicPlayable(false) {}

bool COfflineRun::prepare(std::string& error) {
    if (!checkRange(error)) return false;
    if (CVideoEncoder::isOtherVideoPath(options.capture)) {
        error = "cannot capture to " + options.capture +
                ": videos are written only as .mp4, .mkv or .webm (any other name is a folder of "
                "PNG frames)";
        return false;
    }
    if (!options.capture.empty() && toVideo) {
        ffmpeg = CVideoEncoder::findFFmpeg();
        if (ffmpeg.empty()) {
            error = programFileName("ffmpeg") +
                    " was not found on PATH; it is needed to capture to " + options.capture +
                    " (install ffmpeg, or capture to a folder of PNG frames)";
            return false;
        }
    } else if (!options.capture.empty() && !pictures.open(error)) {
        return false;
    }
    stopSignals = std::make_unique<CStopSignals>(CStopSignals::Mode::CatchInterrupt);
    return true;
}

// The last frame a run draws is the first past the show's end, so a range that begins more than a
// frame after the end holds nothing, whatever the start.
bool COfflineRun::checkRange(std::string& error) const {
    double frameSeconds = static_cast<double>(options.fpsDenominator) / options.fpsNumerator;
    if (!options.fromGiven || options.from <= kShowEndTime + frameSeconds + kSlack) return true;
    error =
        format("--from %g lies past the end of the show at %.1f s: no frame would be drawn there",
               options.from, static_cast<double>(kShowEndTime));
    return false;
}

// The music is looked at whenever something uses it: the spectrum, or the video's sound track.
void COfflineRun::attach(CDemo& target) {
    demo = &target;
    demo->frameHook = this;
    if (!demo->musicEnabled || (options.silent && !toVideo)) return;
    COggDecoder decoder;
    musicPlayable = options.silent ? decoder.open(demo->musicName, audioformat::kRate)
                                   : frameSpectrum.open(demo->musicName);
    if (musicPlayable) return;
    const std::string& problem = options.silent ? decoder.problem() : frameSpectrum.problem();
    CBass::reportUnplayable(demo->musicName, reasonFrom(problem));
}

void COfflineRun::beginRendering(double loadSeconds) {
    // One more than the show holds, for the rounding of the show's float clock.
    frameLimit = framesUntil(demo->endTime) + 1;
    if (options.benchmark) {
        std::vector<std::string> names;
        for (const STimelineSlot& slot : kTimeline) names.push_back(slot.name);
        benchmark = std::make_unique<CBenchmark>(names);
        benchmark->setLoading(loadSeconds * 1000.0);
        benchmark->reserve(static_cast<size_t>(frameLimit));
        activeScenes.reserve(demo->scenes.size());
    }
    progress = std::make_unique<CProgress>(stderr, isTerminal(stderr), expectedFrames());
    renderStart = lastFrameEnd = Clock::now();
}

double COfflineRun::exactTime(int64_t frame) const {
    double start = demo != nullptr ? demo->startTime : (options.startGiven ? options.start : 0.0f);
    return start + static_cast<double>(frame) * static_cast<double>(options.fpsDenominator) /
                       static_cast<double>(options.fpsNumerator);
}

bool COfflineRun::inRange(int64_t frame) const {
    double t = exactTime(frame);
    return (!options.fromGiven || t >= options.from - kSlack) &&
           (!options.toGiven || t <= options.to + kSlack);
}

// Frames up to the last one in range, plus the one past it that ends the run.
int64_t COfflineRun::expectedFrames() const {
    double limit = demo != nullptr ? demo->endTime : kShowEndTime;
    if (options.toGiven) limit = std::min(limit, options.to);
    return framesUntil(limit);
}

// Frames from the start to `limit` s and the one past it. A start that is no number leaves only
// that one, and one before 0 counts from 0: no start makes a run longer than the whole show.
int64_t COfflineRun::framesUntil(double limit) const {
    double start = exactTime(0);
    double span = std::isnan(start) ? 0 : std::max(limit - std::max(start, 0.0), 0.0);
    double fps = static_cast<double>(options.fpsNumerator) / options.fpsDenominator;
    return static_cast<int64_t>(std::floor(span * fps + kSlack)) + 2;
}

bool COfflineRun::frameDrawn(float time) {
    int64_t frame = steppingTicks.frame();
    bool written = true;
    bool planned = lastToWrite < 0 || frame <= lastToWrite;
    if (!options.capture.empty() && inRange(frame) && planned) written = writeFrame(frame, time);
    if (benchmark) timeFrame(frame, time);  // after the write, which is part of the frame's cost
    ++framesDrawn;
    progress->update(framesDrawn, time, secondsBetween(renderStart, Clock::now()));
    steppingTicks.advance();
    bool pastRange = options.toGiven && exactTime(frame) > options.to + kSlack;
    return written && !pastRange && framesDrawn < frameLimit && !CStopSignals::interrupted();
}

// glFinish first, so that the time includes what the rasterizer still had queued.
void COfflineRun::timeFrame(int64_t frame, float time) {
    glFinish();
    Clock::time_point now = Clock::now();
    double ms = secondsBetween(lastFrameEnd, now) * 1000.0;
    lastFrameEnd = now;
    if (!inRange(frame)) return;
    activeScenes.clear();
    for (size_t i = 0; i < demo->scenes.size(); ++i)
        if (demo->scenes[i] != nullptr && CDemo::isActive(*demo->scenes[i], time))
            activeScenes.push_back(i);
    benchmark->addFrame(ms, activeScenes);
}

// The frame as the scenes drew it, whatever window shows it.
bool COfflineRun::writeFrame(int64_t frame, float time) {
    const int width = kFrameWidth;
    const int height = kFrameHeight;
    pixels.resize(static_cast<size_t>(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    bool ok = toVideo ? (video.isOpen() || openVideo(time)) && video.write(pixels.data(), failure)
                      : pictures.write(frame, pixels.data(), width, height, failure);
    if (!ok) return false;
    if (firstWritten < 0) {
        firstWritten = frame;
        firstWrittenTime = time;
    }
    lastWritten = frame;
    lastWrittenTime = time;
    ++framesWritten;
    return true;
}

// The last frame a run that writes `first` writes unless it is stopped: frames are drawn up to
// the first past the show's end (on the show's float clock, as CDemo decides it), past --to or at
// the frame limit, and those in range are written.
int64_t COfflineRun::lastFrameToWrite(int64_t first) const {
    int64_t last = first;
    for (int64_t k = first; k < frameLimit && inRange(k); ++k) {
        last = k;
        if (static_cast<float>(exactTime(k)) > demo->endTime) break;
    }
    return last;
}

// Opened at the first written frame, so that the music starts at that frame's time. The sound
// track is cut where the picture will end, to the sample; frames past that are never written, so
// the picture cannot outrun it.
bool COfflineRun::openVideo(float time) {
    int64_t first = steppingTicks.frame();
    lastToWrite = lastFrameToWrite(first);
    CVideoEncoder::Settings settings;
    settings.path = options.capture;
    settings.width = kFrameWidth;
    settings.height = kFrameHeight;
    settings.fpsNumerator = options.fpsNumerator;
    settings.fpsDenominator = options.fpsDenominator;
    settings.ffmpeg = ffmpeg;
    if (musicPlayable) settings.musicPath = fs::absolute(demo->musicName).string();
    settings.musicStart = time;
    settings.duration = static_cast<double>(lastToWrite - first + 1) *
                        static_cast<double>(options.fpsDenominator) /
                        static_cast<double>(options.fpsNumerator);
    return video.open(settings, failure);
}

// Ctrl-C is given back only once ffmpeg has finished the file.
int COfflineRun::finish(FILE* out) {
    double seconds = secondsBetween(renderStart, Clock::now());
    std::string closeError;
    if (video.isOpen() && !video.close(closeError) && failure.empty()) failure = closeError;
    stopSignals.reset();
    if (!options.capture.empty() && framesWritten == 0 && failure.empty() &&
        !CStopSignals::interrupted())
        failure = std::string("no frame lies in the range, so no ") +
                  (toVideo ? "video was made" : "frame was written");
    if (progress) progress->finish(summary(seconds));
    if (!failure.empty()) std::fprintf(stderr, "vexmoro: %s\n", failure.c_str());
    if (benchmark) benchmark->print(out, CBenchmark::peakResidentKiB());
    if (!failure.empty()) return 1;
    return CStopSignals::interrupted() ? 130 : 0;
}

std::string COfflineRun::summary(double seconds) const {
    double fps = seconds > 0 ? static_cast<double>(framesDrawn) / seconds : 0;
    std::string text = format("vexmoro: %sdrew %lld frames in %.2f s (%.1f fps)",
                              CStopSignals::interrupted() ? "interrupted; " : "",
                              static_cast<long long>(framesDrawn), seconds, fps);
    if (options.capture.empty()) return text;
    // A video that ffmpeg did not finish is no video, whatever it was given.
    if (toVideo && !failure.empty())
        return text + ", but the video " + options.capture +
               (fs::exists(options.capture) ? " is unfinished" : " was not made");
    if (framesWritten == 0) return text + ", wrote none to " + options.capture;
    return text +
           format(", wrote %lld (frames %lld to %lld, %.3f to %.3f s) to ",
                  static_cast<long long>(framesWritten), static_cast<long long>(firstWritten),
                  static_cast<long long>(lastWritten), static_cast<double>(firstWrittenTime),
                  static_cast<double>(lastWrittenTime)) +
           options.capture;
}
