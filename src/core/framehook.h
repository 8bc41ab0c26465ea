// What an offline run (capture, benchmark) adds to the main loop: CDemo calls it once per frame,
// after the scenes have drawn and before the buffer swap, while the finished picture is still
// in the back buffer. Does not draw; needs the GL context current.
#pragma once

class CFrameHook {
public:
    virtual ~CFrameHook() = default;

    // time: the frame's show time. Returns false to make this frame the last one.
    virtual bool frameDrawn(float time) = 0;
};
