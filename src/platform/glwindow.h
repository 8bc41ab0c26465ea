// The show's one window, full screen at the desktop's size or resizable, its OpenGL context and
// the 800 by 600 frame the show draws in, presented at every swap; also the default GL state and
// the frame-rate caption. Does not draw. Main thread only; the context is current on that thread
// between initWindow and destruction.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class CFrame;
struct SDL_Window;
union SDL_Event;

class CGLWindow {
public:
    CGLWindow();
    ~CGLWindow();
    CGLWindow(const CGLWindow&) = delete;
    CGLWindow& operator=(const CGLWindow&) = delete;

    // width and height size the window; full screen takes the desktop's size instead.
    bool initWindow(int width, int height, bool fullscreen);
    // Viewport and projection for a picture of that size.
    void resize(int width, int height);
    bool setGLDefaults();
    void updateCaption(float time);
    // Presents the frame as it stands, then swaps.
    void swapBuffers();
    // Waits for the display's refresh at each swap, where the driver lets it; goes on otherwise.
    void setVSync(bool on);
    // ": " and SDL's reason for the last initWindow's failure; empty after a success, and where
    // SDL gave none.
    const std::string& failureReason() const { return failure; }

    SDL_Window* hwnd;  // the window
    bool wndClass;     // SDL's video subsystem is up (the old window class registration)
    void* hglrc;       // the SDL_GLContext
    SDL_Window* hdc;   // what the buffer swap draws to: the window itself here
    int width;         // of the picture the scenes draw in: the frame, or the window without one
    int height;
    bool fullscreen;
    char caption[43];
    // Null where the GL has no framebuffer objects: the show then draws straight into the window.
    std::unique_ptr<CFrame> frame;
    // Cleared where nobody sees the window (offline runs): swaps then skip the copy, which costs
    // a software renderer milliseconds a frame.
    bool presenting;

private:
    bool createWindow(int w, int h, uint32_t style);
    bool failed();
    bool report(const char* text, const char* caption, SDL_Window* owner);
    bool desktopSize(int& w, int& h);
    bool switchToFullscreen();
    bool createContext();
    void createFrame();

    // Kept from call to call of updateCaption; one window per program, so one pair.
    float captionFrames;
    float captionTime;
    std::string failure;
};

// The window procedure: Escape and closing the window end the show with a quit message.
int windowProc(const SDL_Event& event);
