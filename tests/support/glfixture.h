// Test support: a real 800 by 600 GL window on SDL's offscreen driver with the show's GL
// defaults, and pixel read-back. Each test gets a fresh window and context.
#pragma once

#include "fixedgl/gl.h"
#include <gtest/gtest.h>

#include <array>

#include "platform/glwindow.h"

class GLFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // RGBA of one pixel, counted from the lower-left corner like GL.
    static std::array<int, 4> pixel(int x, int y);
    static void clearBlack();

    CGLWindow* window = nullptr;
};
