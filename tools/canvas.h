// An RGB float picture the generator paints on (light adds up, 1.0 is full white) and turns
// into 8-bit rows for the JPEG and PNG writers. Row 0 is the top. Single-threaded per object.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "mask.h"

struct SColor {
    float r, g, b;
};

SColor operator*(SColor c, float f);
SColor operator+(SColor a, SColor b);
SColor mix(SColor a, SColor b, float t);

class CCanvas {
public:
    CCanvas(int width, int height);

    int width() const { return w; }
    int height() const { return h; }
    SColor at(int x, int y) const;
    void set(int x, int y, SColor c);

    // Sets every pixel from a function of the pixel centre (u, v in 0..1, v downward).
    void fill(const std::function<SColor(float u, float v)>& colour);
    // Light added where the mask covers, in one colour or in a colour per position.
    void addMask(const CMask& mask, SColor colour, int dx = 0, int dy = 0);
    void addMask(const CMask& mask, const std::function<SColor(float u, float v)>& colour);
    // The mask laid over the picture like paint: coverage replaces what lies below.
    void paintMask(const CMask& mask, const std::function<SColor(float u, float v)>& colour);
    void add(const CCanvas& other, float gain);
    void multiply(const std::function<float(float u, float v)>& factor);
    void blur(float sigma, bool wrap = false);
    // A smaller or larger copy by bilinear sampling.
    CCanvas resized(int width, int height) const;
    // A smaller copy in which each pixel is the mean of the area it covers, so that thin lines
    // fade instead of breaking up.
    CCanvas shrunk(int width, int height) const;
    // Copies `other` with its top-left corner at (x, y), clipped to this canvas.
    void blit(const CCanvas& other, int x, int y);

    // 8-bit RGB rows, top row first, with a soft shoulder so bright light saturates gently.
    std::vector<uint8_t> toRgb8() const;

private:
    int w;
    int h;
    std::vector<float> pixels;
};
