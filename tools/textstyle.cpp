#include "textstyle.h"

#include <algorithm>
#include <cmath>

#include "textrenderer.h"

CMask drawText(CCanvas& canvas, const std::string& text, float x, float baseline,
               const STextStyle& style, bool centred) {
    CMask mask(canvas.width(), canvas.height());
    CTextRenderer renderer(fontPath(style.font));
    if (centred)
        renderer.drawCentred(mask, text, x, baseline, style.size, style.tracking);
    else
        renderer.draw(mask, text, x, baseline, style.size, style.tracking);
    paint::shadow(canvas, mask, style.size / 24 + 1, style.size / 16 + 1, style.size / 20.0f + 1.0f,
                  0.9f);
    paint::glowingShape(canvas, mask, style.fill, style.glow, style.glowSigma, style.glowStrength);
    return mask;
}

paint::Gradient chrome(float top, float bottom, int height, SColor sky, SColor ground) {
    return [=](float, float v) {
        const float t = std::clamp((v * height - top) / (bottom - top), 0.0f, 1.0f);
        const SColor white{1.0f, 1.0f, 1.0f};
        if (t < 0.52f) return mix(mix(white, sky, 0.35f), white, t / 0.52f);
        // A dark band just under the horizon, then the ground brightening downward.
        const float g = (t - 0.52f) / 0.48f;
        return mix(ground * 0.35f, ground * 1.2f + SColor{0.2f, 0.2f, 0.2f}, std::sqrt(g));
    };
}

paint::Gradient flat(SColor colour) {
    return [=](float, float) { return colour; };
}
