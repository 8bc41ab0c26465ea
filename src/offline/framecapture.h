// Writes the frames of a capture run as numbered PNG pictures in one folder
// ("frame-000042.png"), upright and RGB. Does not read the picture from GL; the caller hands
// over the pixels. No GL context needed.
#pragma once

#include <cstdint>
#include <string>

class CFrameCapture {
public:
    explicit CFrameCapture(const std::string& folder);

    // Creates the folder if missing; on failure `error` says why.
    bool open(std::string& error);

    // rgb: width * height pixels of 3 bytes, rows bottom-up as glReadPixels gives them.
    // An existing file of the same number is overwritten; a frame that cannot be written whole
    // is removed, and `error` gives the system's reason.
    bool write(int64_t frame, const uint8_t* rgb, int width, int height, std::string& error);

    std::string framePath(int64_t frame) const;

private:
    std::string folder;
};
