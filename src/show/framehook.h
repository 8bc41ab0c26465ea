// What an offline run (capture, benchmark) adds to the main loop: the spectrum each scene is
// drawn with, in place of the sound card's, and a look at every finished frame, after the scenes
// have drawn and before the buffer swap. Does not draw; needs the GL context current.
#pragma once

class CFrameHook {
public:
    virtual ~CFrameHook() = default;

    // The spectrum for a scene drawn at `time` seconds of show time; valid until the next call.
    virtual float* spectrum(float time) = 0;
    // time: the frame's show time. Returns false to make this frame the last one.
    virtual bool frameDrawn(float time) = 0;
};
