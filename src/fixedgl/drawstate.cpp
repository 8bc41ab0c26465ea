#include "fixedgl/drawstate.h"

#include <cstring>

#include "fixedgl/shadersource.h"

// Every member is four bytes or a run of four single bytes, so the struct has no padding and
// its bytes are its value.
static_assert(sizeof(SDrawState) == 3 * sizeof(CMatrix) + 20 * 4, "SDrawState has padding");

bool SDrawState::operator==(const SDrawState& other) const {
    return std::memcmp(this, &other, sizeof other) == 0;
}

// A texture name of 0 has no picture: GL then draws as if texturing were off.
uint32_t SDrawState::programFeatures() const {
    uint32_t features = 0;
    if (has(kLighting)) features |= kLit | (has(kLight0) ? kLightZero : 0u);
    if (has(kNormalize)) features |= kUnitNormals;
    if (has(kFog)) features |= kFogged;
    if (has(kTexture2D) && boundTexture != 0) {
        features |= kTextured;
        if (has(kTexGenS)) features |= kSphereS;
        if (has(kTexGenT)) features |= kSphereT;
    }
    return features;
}
