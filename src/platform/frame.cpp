#include "platform/frame.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>

#include "core/show.h"
#include "fixedgl/gl.h"
#include "fixedgl/session.h"
#include "platform/glcontext.h"

namespace {

// The framebuffer calls of GL 3.0 and ARB_framebuffer_object, which GL 1.1's headers and
// libraries do not promise; asked of the driver once a context exists.
struct FramebufferCalls {
    PFNGLGENFRAMEBUFFERSPROC genFramebuffers;
    PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers;
    PFNGLBINDFRAMEBUFFERPROC bindFramebuffer;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus;
    PFNGLGENRENDERBUFFERSPROC genRenderbuffers;
    PFNGLDELETERENDERBUFFERSPROC deleteRenderbuffers;
    PFNGLBINDRENDERBUFFERPROC bindRenderbuffer;
    PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage;
    PFNGLBLITFRAMEBUFFERPROC blitFramebuffer;
};

FramebufferCalls gl{};

template <typename Call>
bool find(Call& call, const char* name) {
    call = reinterpret_cast<Call>(SDL_GL_GetProcAddress(name));
    return call != nullptr;
}

// Core since OpenGL 3.0 and OpenGL ES 2.0, whose versions read "OpenGL ES 2.0 ...".
bool haveFramebufferObjects() {
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    const char kES[] = "OpenGL ES ";
    if (version != nullptr && std::strncmp(version, kES, sizeof kES - 1) == 0)
        return std::atoi(version + sizeof kES - 1) >= 2;
    bool core = version != nullptr && std::atoi(version) >= 3;
    return core || SDL_GL_ExtensionSupported("GL_ARB_framebuffer_object");
}

bool findFramebufferCalls() {
    return haveFramebufferObjects() && find(gl.genFramebuffers, "glGenFramebuffers") &&
           find(gl.deleteFramebuffers, "glDeleteFramebuffers") &&
           find(gl.bindFramebuffer, "glBindFramebuffer") &&
           find(gl.framebufferRenderbuffer, "glFramebufferRenderbuffer") &&
           find(gl.checkFramebufferStatus, "glCheckFramebufferStatus") &&
           find(gl.genRenderbuffers, "glGenRenderbuffers") &&
           find(gl.deleteRenderbuffers, "glDeleteRenderbuffers") &&
           find(gl.bindRenderbuffer, "glBindRenderbuffer") &&
           find(gl.renderbufferStorage, "glRenderbufferStorage") &&
           find(gl.blitFramebuffer, "glBlitFramebuffer");
}

unsigned int makeRenderbuffer(GLenum format) {
    GLuint name = 0;
    gl.genRenderbuffers(1, &name);
    gl.bindRenderbuffer(GL_RENDERBUFFER, name);
    gl.renderbufferStorage(GL_RENDERBUFFER, format, kFrameWidth, kFrameHeight);
    gl.bindRenderbuffer(GL_RENDERBUFFER, 0);
    return name;
}

}  // namespace

CFrame::CFrame() : framebuffer(0), colour(0), depthStencil(0) {}

CFrame::~CFrame() {
    if (isGLContextCurrent()) release();
}

bool CFrame::create() {
    if (!findFramebufferCalls()) return false;
    // The pixel format's 8-bit RGBA and 8-bit stencil; depth comes packed with the stencil, at
    // 24 bits, as drivers offer it and as the window's own buffers have it.
    colour = makeRenderbuffer(GL_RGBA8);
    depthStencil = makeRenderbuffer(GL_DEPTH24_STENCIL8);
    gl.genFramebuffers(1, &framebuffer);
    gl.bindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    gl.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
    gl.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                               depthStencil);
    if (gl.checkFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        release();
        return false;
    }
    return true;
}

void CFrame::release() {
    if (framebuffer == 0 && colour == 0 && depthStencil == 0) return;
    gl.bindFramebuffer(GL_FRAMEBUFFER, 0);
    gl.deleteFramebuffers(1, &framebuffer);
    gl.deleteRenderbuffers(1, &colour);
    gl.deleteRenderbuffers(1, &depthStencil);
    framebuffer = colour = depthStencil = 0;
}

SFrameRect CFrame::fitted(int drawableWidth, int drawableHeight) {
    long w = drawableWidth, h = drawableHeight;
    // Full width where the drawable is relatively taller than 4:3, full height otherwise.
    if (w * kFrameHeight <= h * kFrameWidth)
        h = (w * kFrameHeight + kFrameWidth / 2) / kFrameWidth;
    else
        w = (h * kFrameWidth + kFrameHeight / 2) / kFrameHeight;
    return {static_cast<int>((drawableWidth - w) / 2), static_cast<int>((drawableHeight - h) / 2),
            static_cast<int>(w), static_cast<int>(h)};
}

// The scissor test and the colour mask would clip the clear and the copy; the push saves them
// with the clear colour and the draw buffer.
void CFrame::present(int drawableWidth, int drawableHeight) {
    SFrameRect to = fitted(drawableWidth, drawableHeight);
    glPushAttrib(GL_COLOR_BUFFER_BIT | GL_SCISSOR_BIT);
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    gl.bindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    if (to.width != drawableWidth || to.height != drawableHeight) {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    fixedglFlush();  // a renderer that keeps its state hands it to GL before the copy
    gl.blitFramebuffer(0, 0, kFrameWidth, kFrameHeight, to.x, to.y, to.x + to.width,
                       to.y + to.height, GL_COLOR_BUFFER_BIT, GL_LINEAR);
    gl.bindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffer);
    glPopAttrib();
}
