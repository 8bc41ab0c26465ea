#include "fixedgl/facing.h"

namespace {

constexpr uint32_t kFront = 0x0404;         // GL_FRONT
constexpr uint32_t kBack = 0x0405;          // GL_BACK
constexpr uint32_t kFrontAndBack = 0x0408;  // GL_FRONT_AND_BACK
constexpr uint32_t kLine = 0x1B01;          // GL_LINE

void clip(const CMatrix& m, const float* p, float out[4]) {
    const float in[4] = {p[0], p[1], p[2], 1};
    m.transform(in, out);
}

// The sign of twice the window area, from clip coordinates: the determinant of the rows
// (x, y, w), which has the sign of the area of (x/w, y/w) when every w is positive.
bool frontFacing(const float a[4], const float b[4], const float c[4]) {
    double det = a[0] * (static_cast<double>(b[1]) * c[3] - static_cast<double>(b[3]) * c[1]) -
                 a[1] * (static_cast<double>(b[0]) * c[3] - static_cast<double>(b[3]) * c[0]) +
                 a[3] * (static_cast<double>(b[0]) * c[1] - static_cast<double>(b[1]) * c[0]);
    return det > 0;
}

}  // namespace

EFaceDrawn faceDrawn(const SDrawState& state, const CMatrix& modelViewProjection, const float* a,
                     const float* b, const float* c) {
    float ca[4], cb[4], cc[4];
    clip(modelViewProjection, a, ca);
    clip(modelViewProjection, b, cb);
    clip(modelViewProjection, c, cc);
    bool front = frontFacing(ca, cb, cc);
    if (state.has(kCullFace)) {
        if (state.cullFace == kFrontAndBack) return EFaceDrawn::None;
        if ((state.cullFace == kFront) == front) return EFaceDrawn::None;
    }
    uint32_t mode = front ? state.polygonFront : state.polygonBack;
    return mode == kLine ? EFaceDrawn::Lines : EFaceDrawn::Filled;
}
