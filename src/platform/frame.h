// The 800 by 600 picture the show draws in: an offscreen framebuffer with colour, depth and
// stencil, bound for drawing and reading whenever the show draws, and copied into the window
// scaled to fit with its 4:3 shape kept. Does not swap buffers. Needs the window's GL context
// current (main thread); its GL names are released only while a context is.
#pragma once

struct SFrameRect {
    int x, y, width, height;  // from the drawable's lower-left corner, like GL
    bool operator==(const SFrameRect& o) const {
        return x == o.x && y == o.y && width == o.width && height == o.height;
    }
};

class CFrame {
public:
    CFrame();
    ~CFrame();
    CFrame(const CFrame&) = delete;
    CFrame& operator=(const CFrame&) = delete;

    // Makes the framebuffer and binds it. False, with nothing left bound or allocated, where the
    // GL has no framebuffer objects or cannot complete this one.
    bool create();

    // Copies the frame, linearly filtered, into the window's drawable of that size, centred with
    // black bars, and binds the frame again. Leaves every other piece of GL state as it was.
    void present(int drawableWidth, int drawableHeight);

    // Where the frame lands in a drawable of that size: as large as fits, 4:3, centred.
    static SFrameRect fitted(int drawableWidth, int drawableHeight);

private:
    void release();

    unsigned int framebuffer;
    unsigned int colour;
    unsigned int depthStencil;
};
