// A single-channel float coverage image (0 = empty, 1 = full) that text and shapes are drawn
// into before they are painted onto a CCanvas. Row 0 is the top. No colour, no file output.
#pragma once

#include <functional>
#include <vector>

class CMask {
public:
    CMask(int width, int height);

    int width() const { return w; }
    int height() const { return h; }
    float at(int x, int y) const { return pixels[y * w + x]; }
    float& at(int x, int y) { return pixels[y * w + x]; }
    float* data() { return pixels.data(); }

    // Keeps the larger of the present value and `value`, ignoring pixels outside.
    void maxAt(int x, int y, float value);
    // Sets every pixel from a function of the pixel centre in pixels.
    void fill(const std::function<float(float x, float y)>& coverage);
    // Adds another mask's pixels scaled by gain (same size).
    void add(const CMask& other, float gain);
    void blur(float sigma, bool wrap = false);
    // A blurred copy: the usual start of a glow.
    CMask blurred(float sigma, bool wrap = false) const;

private:
    int w;
    int h;
    std::vector<float> pixels;
};
