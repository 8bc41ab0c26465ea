#include "fixedgl/viewmatrices.h"

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

struct SAxis {
    float x, y, z;
};

// Products and sum in float, the root in double.
void makeUnit(SAxis& v) {
    float length = static_cast<float>(std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z));
    if (length == 0.0f) return;
    v.x /= length;
    v.y /= length;
    v.z /= length;
}

SAxis cross(const SAxis& a, const SAxis& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

}  // namespace

std::array<double, 16> perspectiveMatrix(double fovy, double aspect, double zNear, double zFar) {
    std::array<double, 16> m{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    double radians = fovy / 2 * kPi / 180;
    double depth = zFar - zNear;
    double sine = std::sin(radians);
    if (depth == 0 || sine == 0 || aspect == 0) return m;
    double cotangent = std::cos(radians) / sine;
    m[0] = cotangent / aspect;
    m[5] = cotangent;
    m[10] = -(zFar + zNear) / depth;
    m[11] = -1;
    m[14] = -2 * zNear * zFar / depth;
    m[15] = 0;
    return m;
}

std::array<float, 16> lookAtRotation(double eyeX, double eyeY, double eyeZ, double centreX,
                                     double centreY, double centreZ, double upX, double upY,
                                     double upZ) {
    SAxis forward{static_cast<float>(centreX - eyeX), static_cast<float>(centreY - eyeY),
                  static_cast<float>(centreZ - eyeZ)};
    SAxis up{static_cast<float>(upX), static_cast<float>(upY), static_cast<float>(upZ)};
    makeUnit(forward);
    SAxis side = cross(forward, up);
    makeUnit(side);
    up = cross(side, forward);
    return {side.x, up.x, -forward.x, 0, side.y, up.y, -forward.y, 0,
            side.z, up.z, -forward.z, 0, 0,      0,    0,          1};
}
