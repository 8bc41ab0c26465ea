// Text looks shared by the pictures: chrome lettering with shadow and glow, and plain glowing
// captions. Draws with a DejaVu face named by file; no layout beyond one line.
#pragma once

#include <string>

#include "canvas.h"
#include "painter.h"

struct STextStyle {
    std::string font;  // DejaVu file name
    int size;          // pixels per em
    float tracking;    // extra pixels between letters
    paint::Gradient fill;
    SColor glow;
    float glowSigma;
    float glowStrength;
};

// Draws one line centred on cx (or starting at x when centred is false) with the style.
// Returns the mask of the letters so callers can add their own effects.
CMask drawText(CCanvas& canvas, const std::string& text, float x, float baseline,
               const STextStyle& style, bool centred = true);
// Sky-above-horizon chrome gradient between the pixel rows top and bottom.
paint::Gradient chrome(float top, float bottom, int height, SColor sky, SColor ground);
// A flat colour as a gradient.
paint::Gradient flat(SColor colour);
