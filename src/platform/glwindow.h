// The show's one window and its OpenGL context, optionally after switching the display to a
// full-screen mode; also the default GL state and the frame-rate caption. Does not draw.
// Main thread only; the context is current on that thread between initWindow and destruction.
#pragma once

struct SDL_Window;
union SDL_Event;

class CGLWindow {
public:
    CGLWindow();
    ~CGLWindow();
    CGLWindow(const CGLWindow&) = delete;
    CGLWindow& operator=(const CGLWindow&) = delete;

    bool initWindow(int width, int height, bool fullscreen);
    void resize(int width, int height);
    bool setGLDefaults();
    void updateCaption(float time);
    void swapBuffers();

    SDL_Window* hwnd;  // the window
    bool wndClass;     // SDL's video subsystem is up (the old window class registration)
    void* hglrc;       // the SDL_GLContext
    SDL_Window* hdc;   // what the buffer swap draws to: the window itself here
    int width;
    int height;
    bool fullscreen;
    char caption[43];

private:
    bool switchToFullscreen();
    bool createContext();

    // Kept from call to call of updateCaption; one window per program, so one pair.
    float captionFrames;
    float captionTime;
};

// The window procedure: Escape and closing the window end the show with a quit message.
int windowProc(const SDL_Event& event);
