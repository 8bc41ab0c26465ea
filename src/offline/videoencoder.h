// Encodes the frames of a capture run into one video file (.mp4, .mkv or .webm) by piping raw
// RGB frames to an ffmpeg process, with the music as the sound track. Does not read the picture
// from GL and does not decide which frames to write. Main thread only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/childprocess.h"

class CVideoEncoder {
public:
    struct Settings {
        std::string path;  // the video file; its extension picks the codecs
        int width = 800;
        int height = 600;
        long fpsNumerator = 60;
        long fpsDenominator = 1;
        std::string ffmpeg;     // the program to run
        std::string musicPath;  // empty: no sound track
        double musicStart = 0;  // where in the music the first frame lies, seconds
        double duration = 0;    // seconds of sound: the picture's planned length; 0: until it ends
    };

    // Whether `path` names a video file rather than a folder of frames.
    static bool isVideoPath(const std::string& path);
    // Whether `path` names a video in a format not written here (.avi, .mov, ...), which would
    // otherwise quietly become a folder of frames by that name.
    static bool isOtherVideoPath(const std::string& path);
    // The ffmpeg program (ffmpeg.exe on Windows) found on PATH; empty if there is none.
    static std::string findFFmpeg();
    // The full ffmpeg command line for these settings, program first.
    static std::vector<std::string> commandLine(const Settings& settings);

    CVideoEncoder();
    ~CVideoEncoder();
    CVideoEncoder(const CVideoEncoder&) = delete;
    CVideoEncoder& operator=(const CVideoEncoder&) = delete;

    bool open(const Settings& settings, std::string& error);
    bool isOpen() const { return encoder.isRunning(); }
    // rgb: one frame of width * height * 3 bytes, rows bottom-up as glReadPixels gives them.
    bool write(const uint8_t* rgb, std::string& error);
    // Ends the stream and waits for ffmpeg to finish the file; false if it did not.
    bool close(std::string& error);

private:
    CChildProcess encoder;
    size_t frameBytes;
};
