// Everything the fixed-function GL draws a primitive with, as one value: the three matrices, the
// switches, the bound texture and the fog, blend, depth, cull, polygon and viewport settings.
// Immediate-mode primitives drawn with an equal state share one draw call. Plain data.
#pragma once

#include <cstdint>

#include "fixedgl/matrix.h"

enum EnableBit : uint32_t {
    kLighting = 1u << 0,
    kLight0 = 1u << 1,
    kFog = 1u << 2,
    kTexture2D = 1u << 3,
    kTexGenS = 1u << 4,
    kTexGenT = 1u << 5,
    kNormalize = 1u << 6,
    kBlend = 1u << 7,
    kDepthTest = 1u << 8,
    kCullFace = 1u << 9,
    kScissorTest = 1u << 10,
    kLineSmooth = 1u << 11,
    kPointSmooth = 1u << 12,
};

struct SDrawState {
    CMatrix modelview;
    CMatrix projection;
    CMatrix texture;
    uint32_t enabled = 0;
    uint32_t boundTexture = 0;
    uint32_t blendSource = 0x0001;       // GL_ONE
    uint32_t blendDestination = 0x0000;  // GL_ZERO
    uint32_t depthFunction = 0x0201;     // GL_LESS
    uint32_t cullFace = 0x0405;          // GL_BACK
    uint32_t polygonFront = 0x1B02;      // GL_FILL
    uint32_t polygonBack = 0x1B02;
    float lineWidth = 1;
    float fogStart = 0;
    float fogEnd = 1;
    float fogColour[4] = {0, 0, 0, 0};
    int viewport[4] = {0, 0, 0, 0};
    uint8_t colourMask[4] = {1, 1, 1, 1};

    bool operator==(const SDrawState& other) const;
    bool operator!=(const SDrawState& other) const { return !(*this == other); }
    bool has(uint32_t bits) const { return (enabled & bits) == bits; }
    // The program variant (fixedgl/shadersource.h) these settings draw with.
    uint32_t programFeatures() const;
};
