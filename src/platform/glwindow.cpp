#include "platform/glwindow.h"

#include <SDL.h>

#include <cstdio>

#include "core/show.h"
#include "fixedgl/gl.h"
#include "fixedgl/session.h"
#include "platform/frame.h"
#include "platform/glprofile.h"
#include "platform/host.h"
#include "platform/messagebox.h"
#include "platform/sdlreason.h"

namespace {

const char* const kTitle = "1337 vexmoro";

// The old pixel format: double-buffered RGBA with 32 colour, 16 depth and 8 stencil bits.
void requestPixelFormat() {
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    requestContextProfile();
}

}  // namespace

CGLWindow::CGLWindow()
    : hwnd(nullptr),
      wndClass(false),
      hglrc(nullptr),
      hdc(nullptr),
      width(0),
      height(0),
      fullscreen(false),
      caption{},
      frame(),
      presenting(true),
      captionFrames(0),
      captionTime(0),
      failure() {}

CGLWindow::~CGLWindow() {
    frame.reset();
    if (hglrc != nullptr) {
        fixedglStop();
        SDL_GL_MakeCurrent(hwnd, nullptr);
        SDL_GL_DeleteContext(hglrc);
        hglrc = nullptr;
    }
    if (hwnd != nullptr) SDL_DestroyWindow(hwnd);
    hwnd = hdc = nullptr;
    if (wndClass) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    wndClass = false;
}

bool CGLWindow::initWindow(int w, int h, bool full) {
    width = w;
    height = h;
    fullscreen = full;
    failure.clear();
    // Windows would otherwise scale a window on a HiDPI screen up, blurred; elsewhere unused.
    SDL_SetHint(SDL_HINT_WINDOWS_DPI_AWARENESS, "permonitorv2");
    SDL_ClearError();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return failed();
    wndClass = true;
    requestPixelFormat();
    if (fullscreen && !desktopSize(w, h)) return false;
    bool hidden = windowsStayHidden();
    Uint32 style = SDL_WINDOW_OPENGL | SDL_WINDOW_ALLOW_HIGHDPI |
                   (fullscreen || hidden ? SDL_WINDOW_HIDDEN : SDL_WINDOW_SHOWN) |
                   (fullscreen ? SDL_WINDOW_BORDERLESS : SDL_WINDOW_RESIZABLE);
    if (!createWindow(w, h, style)) return false;
    if (fullscreen && !switchToFullscreen()) return false;
    hdc = hwnd;
    if (!createContext()) return false;
    if (!hidden) {
        SDL_ShowWindow(hwnd);
        SDL_RaiseWindow(hwnd);
    }
    createFrame();
    return true;
}

bool CGLWindow::createWindow(int w, int h, uint32_t style) {
    SDL_ClearError();
    hwnd = SDL_CreateWindow(kTitle, 0, 0, w, h, style);
    if (hwnd != nullptr) return true;
    std::string pixelFormatReason = sdlReason();
    // The window itself can be made, so it was the pixel format that could not.
    SDL_ClearError();
    hwnd = SDL_CreateWindow(kTitle, 0, 0, w, h, style & ~SDL_WINDOW_OPENGL);
    if (hwnd == nullptr) return failed();
    failure = pixelFormatReason;
    showMessage(("Unable to find a suitable pixelformat" + failure).c_str(), "initGL()", hwnd);
    return false;
}

// Keeps SDL's reason for the call that just failed and says so.
bool CGLWindow::failed() {
    failure = sdlReason();
    return false;
}

// The written text, then SDL's reason for the call that just failed; false.
bool CGLWindow::report(const char* text, const char* caption, SDL_Window* owner) {
    failed();
    showMessage((text + failure).c_str(), caption, owner);
    return false;
}

// Full screen covers the desktop as it is; no display mode is asked for.
bool CGLWindow::desktopSize(int& w, int& h) {
    SDL_DisplayMode mode;
    SDL_ClearError();
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0)
        return report("Unable to get displaysettings", "Error", nullptr);
    w = mode.w;
    h = mode.h;
    return true;
}

// A borderless window over the whole desktop, the pointer hidden.
bool CGLWindow::switchToFullscreen() {
    SDL_ClearError();
    if (SDL_SetWindowFullscreen(hwnd, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0)
        return report("Unable to switch to fullscreen", "CGLWindow::initWindow", nullptr);
    SDL_ShowCursor(SDL_DISABLE);
    return true;
}

bool CGLWindow::createContext() {
    SDL_ClearError();
    hglrc = SDL_GL_CreateContext(hwnd);
    if (hglrc == nullptr) return report("Unable to create HRC", "initGL()", hwnd);
    SDL_ClearError();
    if (SDL_GL_MakeCurrent(hwnd, hglrc) != 0)
        return report("Unable to select HRC", "initGL()", hwnd);
    fixedglStart();
    return true;
}

// The scenes draw in the frame whatever the window's size; without one, in the window as it
// opened.
void CGLWindow::createFrame() {
    frame = std::make_unique<CFrame>();
    if (frame->create()) {
        resize(kFrameWidth, kFrameHeight);
        return;
    }
    frame.reset();
    std::fputs("vexmoro: this GL has no framebuffer objects; drawing straight into the window\n",
               stderr);
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(hwnd, &w, &h);
    resize(w, h);
}

void CGLWindow::resize(int w, int h) {
    if (w == 0) w = 1;
    if (h == 0) h = 1;
    width = w;
    height = h;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, static_cast<double>(width) / static_cast<double>(height), 1.0, 10000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

bool CGLWindow::setGLDefaults() {
    glShadeModel(GL_SMOOTH);
    glEnable(GL_LINE_SMOOTH);
    glEnable(GL_POINT_SMOOTH);
    glClearColor(0, 0, 0, 0);
    glClearDepth(1.0);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_NORMALIZE);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_TEXTURE_2D);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    return true;
}

// The count shown is frames since the last caption, not divided by the interval.
void CGLWindow::updateCaption(float time) {
    if (fullscreen) return;
    captionFrames += 1;
    if (static_cast<double>(time) - static_cast<double>(captionTime) > 1.0) {
        captionTime = time;
        std::snprintf(caption, sizeof caption, "Time=%.02f FPS=%i", static_cast<double>(time),
                      static_cast<int>(captionFrames));
        if (hwnd != nullptr) SDL_SetWindowTitle(hwnd, caption);
        captionFrames = 0;
    }
}

void CGLWindow::swapBuffers() {
    if (hdc == nullptr) return;
    fixedglFlush();
    if (frame != nullptr && presenting) {
        int w = 0, h = 0;
        SDL_GL_GetDrawableSize(hdc, &w, &h);
        frame->present(w, h);
    }
    SDL_GL_SwapWindow(hdc);
}

// A refusal leaves the driver's own choice, which is as good as the show can do there.
void CGLWindow::setVSync(bool on) {
    SDL_GL_SetSwapInterval(on ? 1 : 0);
}

int windowProc(const SDL_Event& event) {
    bool escape = event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE;
    bool closed = event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE;
    if (escape || closed) {
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
    }
    return 0;
}
