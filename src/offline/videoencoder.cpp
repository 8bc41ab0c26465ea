#include "offline/videoencoder.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <iterator>

#include "platform/host.h"

namespace fs = std::filesystem;

namespace {

std::string lowerExtension(const std::string& path) {
    std::string extension = fs::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

// Codec choices per container: widely playable, and fast enough to keep up with the renderer.
std::vector<std::string> videoCodec(const std::string& extension) {
    if (extension == ".webm")
        return {"-c:v",    "libvpx-vp9", "-deadline", "realtime", "-cpu-used", "8",
                "-row-mt", "1",          "-b:v",      "0",        "-crf",      "30"};
    return {"-c:v", "libx264", "-preset", "veryfast", "-crf", "18"};
}

std::vector<std::string> audioCodec(const std::string& extension) {
    if (extension == ".webm") return {"-c:a", "libopus", "-b:a", "160k"};
    if (extension == ".mkv") return {"-c:a", "libvorbis", "-q:a", "6"};
    return {"-c:a", "aac", "-b:a", "192k"};
}

std::string seconds(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.6f", value);
    return text;
}

}  // namespace

bool CVideoEncoder::isVideoPath(const std::string& path) {
    std::string extension = lowerExtension(path);
    return extension == ".mp4" || extension == ".mkv" || extension == ".webm";
}

bool CVideoEncoder::isOtherVideoPath(const std::string& path) {
    static const char* const kOthers[] = {
        ".avi", ".mov", ".qt",  ".wmv", ".asf",  ".flv", ".f4v", ".mpg", ".mpeg", ".m2v",  ".m4v",
        ".ogv", ".3gp", ".3g2", ".ts",  ".m2ts", ".mts", ".vob", ".rm",  ".rmvb", ".divx", ".y4m"};
    std::string extension = lowerExtension(path);
    return std::find(std::begin(kOthers), std::end(kOthers), extension) != std::end(kOthers);
}

std::string CVideoEncoder::findFFmpeg() {
    return findProgramOnPath("ffmpeg");
}

// Frames arrive bottom-up and are flipped by ffmpeg. The sound is padded with silence, so that a
// short music file never shortens the picture, and cut to the sample where the picture is planned
// to end; a picture that ends early (an interrupted run) still cuts it, to the encoder's frame.
std::vector<std::string> CVideoEncoder::commandLine(const Settings& s) {
    std::string extension = lowerExtension(s.path);
    std::vector<std::string> args = {
        s.ffmpeg,   "-hide_banner",
        "-nostdin", "-loglevel",
        "error",    "-y",
        "-f",       "rawvideo",
        "-pix_fmt", "rgb24",
        "-s",       std::to_string(s.width) + "x" + std::to_string(s.height),
        "-r",       std::to_string(s.fpsNumerator) + "/" + std::to_string(s.fpsDenominator),
        "-i",       "-"};
    bool sound = !s.musicPath.empty();
    if (sound) args.insert(args.end(), {"-ss", seconds(s.musicStart), "-i", s.musicPath});
    args.insert(args.end(), {"-map", "0:v"});
    if (sound) args.insert(args.end(), {"-map", "1:a"});
    args.insert(args.end(), {"-vf", "vflip", "-pix_fmt", "yuv420p"});
    std::vector<std::string> video = videoCodec(extension);
    args.insert(args.end(), video.begin(), video.end());
    if (sound) {
        std::vector<std::string> audio = audioCodec(extension);
        args.insert(args.end(), audio.begin(), audio.end());
        args.insert(args.end(), {"-af", "apad", "-shortest"});
        if (s.duration > 0) args.insert(args.end(), {"-t", seconds(s.duration)});
    }
    args.push_back(s.path);
    return args;
}

CVideoEncoder::CVideoEncoder() : frameBytes(0) {}

CVideoEncoder::~CVideoEncoder() {
    std::string ignored;
    close(ignored);
}

// ffmpeg is kept from the console's Ctrl-C, so that an interrupted capture can still end the
// stream and let ffmpeg finish the file.
bool CVideoEncoder::open(const Settings& settings, std::string& error) {
    if (!encoder.start(commandLine(settings), error)) return false;
    frameBytes = static_cast<size_t>(settings.width) * settings.height * 3;
    return true;
}

bool CVideoEncoder::write(const uint8_t* rgb, std::string& error) {
    if (encoder.write(rgb, frameBytes, error)) return true;
    error = "ffmpeg stopped taking frames: " + error;
    return false;
}

bool CVideoEncoder::close(std::string& error) {
    std::string ending;
    if (encoder.finish(ending)) return true;
    error = "ffmpeg could not finish the video: " + ending;
    return false;
}
