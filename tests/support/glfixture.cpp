#include "support/glfixture.h"

#include "core/show.h"

void GLFixture::SetUp() {
    window = new CGLWindow();
    ASSERT_TRUE(window->initWindow(kFrameWidth, kFrameHeight, false))
        << "no GL context on the offscreen driver";
    window->setGLDefaults();
}

void GLFixture::TearDown() {
    delete window;
    window = nullptr;
}

std::array<int, 4> GLFixture::pixel(int x, int y) {
    unsigned char rgba[4] = {};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return {rgba[0], rgba[1], rgba[2], rgba[3]};
}

void GLFixture::clearBlack() {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}
