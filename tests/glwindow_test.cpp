#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/show.h"
#include "platform/frame.h"
#include "platform/glcontext.h"
#include "platform/glwindow.h"
#include "support/glfixture.h"
#include "support/messagerecorder.h"
#include "support/scenekit.h"

using WindowTest = GLFixture;

TEST_F(WindowTest, OpensAnExact800By600DrawableTitledForTheShow) {
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(window->hwnd, &w, &h);
    EXPECT_EQ(w, kFrameWidth);
    EXPECT_EQ(h, kFrameHeight);
    EXPECT_STREQ(SDL_GetWindowTitle(window->hwnd), "1337 vexmoro");
    EXPECT_EQ(window->hdc, window->hwnd);
    EXPECT_NE(window->hglrc, nullptr);
    EXPECT_EQ(SDL_GL_GetCurrentContext(), window->hglrc);
}

// The offscreen driver's surfaces are single-buffered, so only the buffer sizes are checked.
TEST_F(WindowTest, GetsEightBitRGBAWithDepthAndStencil) {
    GLint bits[4] = {}, depth = 0, stencil = 0;
    const GLenum channels[4] = {GL_RED_BITS, GL_GREEN_BITS, GL_BLUE_BITS, GL_ALPHA_BITS};
    for (int i = 0; i < 4; ++i) {
        glGetIntegerv(channels[i], &bits[i]);
        EXPECT_EQ(bits[i], 8) << "channel " << i;
    }
    glGetIntegerv(GL_DEPTH_BITS, &depth);
    glGetIntegerv(GL_STENCIL_BITS, &stencil);
    EXPECT_GE(depth, 16);
    EXPECT_GE(stencil, 8);
}

// gluPerspective(45, aspect, 1, 10000), built here from its definition.
void expectPerspective(double aspect) {
    double f = 1.0 / std::tan(45.0 / 2 * M_PI / 180);
    double expected[16] = {
        f / aspect, 0, 0, 0, 0, f, 0, 0, 0, 0, 10001.0 / -9999.0, -1, 0, 0, 2 * 10000.0 / -9999.0,
        0};
    GLdouble m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(m[i], expected[i], 1e-5) << "element " << i;
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
}

TEST_F(WindowTest, ViewportAndProjectionFitTheClientArea) {
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[1], 0);
    EXPECT_EQ(viewport[2], kFrameWidth);
    EXPECT_EQ(viewport[3], kFrameHeight);
    expectPerspective(double(kFrameWidth) / kFrameHeight);
}

// State the presentation could disturb and the scenes' probe does not cover.
struct PresentState {
    GLint viewport[4], scissorBox[4], drawFramebuffer, readFramebuffer;
    GLboolean scissor, colourMask[4];
    bool operator==(const PresentState& o) const {
        return std::equal(viewport, viewport + 4, o.viewport) &&
               std::equal(scissorBox, scissorBox + 4, o.scissorBox) &&
               drawFramebuffer == o.drawFramebuffer && readFramebuffer == o.readFramebuffer &&
               scissor == o.scissor && std::equal(colourMask, colourMask + 4, o.colourMask);
    }
    static PresentState read() {
        PresentState s;
        glGetIntegerv(GL_VIEWPORT, s.viewport);
        glGetIntegerv(GL_SCISSOR_BOX, s.scissorBox);
        glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &s.drawFramebuffer);
        glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &s.readFramebuffer);
        s.scissor = glIsEnabled(GL_SCISSOR_TEST);
        glGetBooleanv(GL_COLOR_WRITEMASK, s.colourMask);
        return s;
    }
};

// The scenes find the frame as they drew it and the state they left, swap after swap, and keep
// drawing and reading in the frame.
TEST_F(WindowTest, SwapsLeaveTheFrameAndTheScenesStateAlone) {
    ASSERT_NE(window->frame, nullptr) << "Mesa offers framebuffer objects";
    glClearColor(0.2f, 0.4f, 0.6f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glViewport(0, 0, 128, 128);
    glEnable(GL_SCISSOR_TEST);
    glScissor(1, 2, 3, 4);
    glColorMask(GL_TRUE, GL_FALSE, GL_TRUE, GL_FALSE);
    glClearColor(0.5f, 0.25f, 0.125f, 0.75f);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    GLStateProbe probe = GLStateProbe::read();
    PresentState state = PresentState::read();
    EXPECT_NE(state.drawFramebuffer, 0);
    EXPECT_EQ(state.drawFramebuffer, state.readFramebuffer);
    std::array<int, 4> drawn = pixel(400, 300);
    window->swapBuffers();
    window->swapBuffers();
    EXPECT_EQ(GLStateProbe::read(), probe);
    EXPECT_TRUE(PresentState::read() == state);
    EXPECT_EQ(pixel(400, 300), drawn);
    EXPECT_EQ(drawn, (std::array<int, 4>{51, 102, 153, 255}));
}

// The largest 4:3 rectangle a drawable holds, centred.
TEST(FrameFit, FillsWidthOrHeightAndCentresTheRest) {
    struct Row {
        int width, height;
        SFrameRect want;
    };
    const Row rows[] = {
        {800, 600, {0, 0, 800, 600}},
        {1024, 768, {0, 0, 1024, 768}},
        {1280, 720, {160, 0, 960, 720}},
        {1920, 1200, {160, 0, 1600, 1200}},
        {400, 600, {0, 150, 400, 300}},
        {1366, 768, {171, 0, 1024, 768}},
        {801, 600, {0, 0, 800, 600}},
        {3, 1000, {0, 499, 3, 2}},
        {16384, 16384, {0, 2048, 16384, 12288}},
        {0, 0, {0, 0, 0, 0}},
    };
    for (const Row& row : rows) {
        SFrameRect got = CFrame::fitted(row.width, row.height);
        EXPECT_TRUE(got == row.want) << row.width << "x" << row.height << " gave " << got.width
                                     << "x" << got.height << " at " << got.x << "," << got.y;
    }
}

TEST_F(WindowTest, ResizeToZeroBecomesOneByOneWithAspectOne) {
    window->resize(0, 0);
    EXPECT_EQ(window->width, 1);
    EXPECT_EQ(window->height, 1);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 1);
    EXPECT_EQ(viewport[3], 1);
    expectPerspective(1.0);
}

TEST_F(WindowTest, DefaultsAreInForceAfterSetGLDefaults) {
    struct Flag {
        GLenum cap;
        bool on;
    };
    const Flag flags[] = {
        {GL_LINE_SMOOTH, true},    {GL_POINT_SMOOTH, true}, {GL_CULL_FACE, true},
        {GL_DEPTH_TEST, true},     {GL_NORMALIZE, true},    {GL_LIGHTING, true},
        {GL_LIGHT0, true},         {GL_TEXTURE_2D, true},   {GL_TEXTURE_GEN_S, false},
        {GL_TEXTURE_GEN_T, false}, {GL_BLEND, false},
    };
    for (const Flag& flag : flags)
        EXPECT_EQ(glIsEnabled(flag.cap) == GL_TRUE, flag.on)
            << "capability 0x" << std::hex << flag.cap;
    GLint value = 0;
    glGetIntegerv(GL_SHADE_MODEL, &value);
    EXPECT_EQ(value, GL_SMOOTH);
    glGetIntegerv(GL_CULL_FACE_MODE, &value);
    EXPECT_EQ(value, GL_BACK);
    glGetIntegerv(GL_DEPTH_FUNC, &value);
    EXPECT_EQ(value, GL_LEQUAL);
    glGetIntegerv(GL_PERSPECTIVE_CORRECTION_HINT, &value);
    EXPECT_EQ(value, GL_NICEST);
    glGetTexGeniv(GL_S, GL_TEXTURE_GEN_MODE, &value);
    EXPECT_EQ(value, GL_SPHERE_MAP);
    glGetTexGeniv(GL_T, GL_TEXTURE_GEN_MODE, &value);
    EXPECT_EQ(value, GL_SPHERE_MAP);
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_EQ(clear[3], 0.0f);
    GLfloat depth = 0;
    glGetFloatv(GL_DEPTH_CLEAR_VALUE, &depth);
    EXPECT_EQ(depth, 1.0f);
}

std::string title(CGLWindow* window) {
    return SDL_GetWindowTitle(window->hwnd);
}

// Frames at 60 per second, the first at 1/60 s: the 61st frame is the first past 1.0 s.
TEST_F(WindowTest, FirstCaptionComesInTheFirstFramePastOneSecond) {
    for (int k = 1; k <= 60; ++k) {
        window->updateCaption(static_cast<float>(k / 60.0));
        ASSERT_EQ(title(window), "1337 vexmoro") << "frame " << k;
    }
    window->updateCaption(static_cast<float>(61 / 60.0));
    EXPECT_EQ(title(window), "Time=1.02 FPS=61");
    window->updateCaption(static_cast<float>(62 / 60.0));
    EXPECT_EQ(title(window), "Time=1.02 FPS=61") << "the next caption waits another second";
    for (int k = 63; k <= 122; ++k) window->updateCaption(static_cast<float>(k / 60.0));
    EXPECT_EQ(title(window), "Time=2.03 FPS=61");
}

TEST_F(WindowTest, StartOffsetCaptionsTheFirstFrameWithCountOne) {
    window->updateCaption(100.0f);
    EXPECT_EQ(title(window), "Time=100.00 FPS=1");
}

TEST_F(WindowTest, CaptionIsBoundedForHugeTimes) {
    window->updateCaption(1e30f);
    EXPECT_LT(std::string(window->caption).size(), sizeof window->caption);
    EXPECT_EQ(std::string(window->caption).rfind("Time=", 0), 0u);
}

TEST(FullscreenWindow, KeepsItsTitleAndHidesThePointer) {
    CGLWindow window;
    ASSERT_TRUE(window.initWindow(kFrameWidth, kFrameHeight, true));
    EXPECT_TRUE(SDL_GetWindowFlags(window.hwnd) & SDL_WINDOW_FULLSCREEN);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    for (int k = 0; k < 200; ++k) window.updateCaption(k * 0.1f);
    EXPECT_STREQ(SDL_GetWindowTitle(window.hwnd), "1337 vexmoro");
}

SDL_Event keyDown(SDL_Keycode key) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = key;
    return event;
}

int queuedQuits() {
    SDL_PumpEvents();
    return SDL_PeepEvents(nullptr, 16, SDL_PEEKEVENT, SDL_QUIT, SDL_QUIT);
}

TEST_F(WindowTest, WindowProcedureTurnsEscapeAndCloseIntoQuit) {
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    windowProc(keyDown(SDLK_a));
    EXPECT_EQ(queuedQuits(), 0) << "other keys do nothing";
    windowProc(keyDown(SDLK_ESCAPE));
    EXPECT_EQ(queuedQuits(), 1);
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    SDL_Event close{};
    close.type = SDL_WINDOWEVENT;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    close.window.windowID = SDL_GetWindowID(window->hwnd);
    windowProc(close);
    EXPECT_EQ(queuedQuits(), 1);
}

// SDL's own words for why a window with GL cannot be made on the video driver now chosen:
// either the driver cannot come up at all, or it has no GL.
std::string whyNoGLWindow() {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return SDL_GetError();
    SDL_Window* window = SDL_CreateWindow("", 0, 0, 64, 64, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    std::string words = window == nullptr ? SDL_GetError() : "";
    if (window != nullptr) SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return words;
}

// A driver that does not exist fails before any window, without a box; one without GL makes a
// window but no pixel format, and says so. Either way initWindow returns false without a GL call
// and keeps SDL's reason for its caller, whatever older error SDL still held.
TEST(WindowFailure, NoWindowOrNoGLGivesFalseAndSDLsReason) {
    struct Row {
        const char* driver;
        const char* box;  // null: none
    };
    const Row rows[] = {{"no-such-driver", nullptr},
                        {"dummy", "Unable to find a suitable pixelformat"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.driver);
        MessageRecorder recorder;
        SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, row.driver, SDL_HINT_OVERRIDE);
        const std::string why = whyNoGLWindow();
        ASSERT_FALSE(why.empty());
        SDL_SetError("an older error");
        CGLWindow window;
        EXPECT_FALSE(window.initWindow(kFrameWidth, kFrameHeight, false));
        SDL_ResetHint(SDL_HINT_VIDEODRIVER);
        EXPECT_EQ(window.hglrc, nullptr);
        EXPECT_EQ(window.failureReason(), ": " + why);
        if (row.box == nullptr) {
            EXPECT_EQ(window.hwnd, nullptr);
            EXPECT_TRUE(recorder.boxes.empty());
            continue;
        }
        ASSERT_EQ(recorder.boxes.size(), 1u);
        EXPECT_EQ(recorder.boxes[0].caption, "initGL()");
        EXPECT_EQ(recorder.boxes[0].text, row.box + (": " + why));
    }
}

// Objects that outlive the window (the scenes' textures at shutdown) must see that no GL call
// may be made any more.
TEST(WindowLifetime, NoContextIsCurrentAfterTheWindowIsGone) {
    CGLWindow* window = new CGLWindow();
    ASSERT_TRUE(window->initWindow(64, 64, false));
    EXPECT_TRUE(isGLContextCurrent());
    delete window;
    EXPECT_FALSE(isGLContextCurrent());
}
