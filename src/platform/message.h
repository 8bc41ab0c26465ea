// One message taken from the thread's event queue, as the main loop takes them: at most one per
// frame, dispatched to the window procedure at the end of the frame. Main thread only.
#pragma once

class CMessage {
public:
    CMessage();

    // Takes the next message off the queue, if there is one.
    bool peek();
    bool isQuit() const;
    void dispatch() const;

private:
    alignas(8) unsigned char event[64];  // an SDL_Event, kept opaque for callers
};
