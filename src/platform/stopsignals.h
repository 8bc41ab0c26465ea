// Ctrl-C (SIGINT) and SIGTERM where the program must not lose them. An offline run catches
// Ctrl-C so that it stops after the frame it is drawing and still finishes its video. A modal
// message box gives both their default action back while it waits: its own event loop never sees
// the quit that SDL's handlers post, so nothing else could stop the program. Each object puts
// back what it found when it goes. Main thread only; objects end in the reverse order of making.
#pragma once

class CStopSignals {
public:
    enum class Mode { CatchInterrupt, DefaultAction };

    explicit CStopSignals(Mode mode);
    ~CStopSignals();
    CStopSignals(const CStopSignals&) = delete;
    CStopSignals& operator=(const CStopSignals&) = delete;

    // Whether Ctrl-C came while an object in CatchInterrupt mode was alive.
    static bool interrupted();

private:
    // What a signal did before an object took it, in the system's own form (a struct sigaction,
    // or the handler where the C library's signal() is all there is), kept as bytes so that
    // callers need no system header; each system's file checks that it fits.
    struct Handling {
        alignas(16) unsigned char bytes[256];
    };
    // One implementation per system (stopsignals_posix.cpp, stopsignals_windows.cpp).
    static void take(int signal, void (*handler)(int), Handling& previous);
    static void putBack(int signal, const Handling& previous);

    Mode mode;
    Handling previousInterrupt;
    Handling previousTerminate;
};
