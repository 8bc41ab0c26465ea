#include "fixedgl/matrix.h"

#include <cmath>
#include <cstring>

namespace {

constexpr double kPi = 3.14159265358979323846;

float& at(CMatrix& matrix, int row, int column) {
    return matrix.m[column * 4 + row];
}

// An axis along x, y or z turns the other two coordinates only: everything else stays exactly
// the identity's, as GL's own implementations keep it.
bool rotateAboutAnAxis(CMatrix& result, float s, float c, float x, float y, float z) {
    int axis = x != 0 ? (y == 0 && z == 0 ? 0 : -1) : y != 0 ? (z == 0 ? 1 : -1) : z != 0 ? 2 : -1;
    if (axis < 0) return false;
    const int a = (axis + 1) % 3, b = (axis + 2) % 3;
    const float sign = (axis == 0 ? x : axis == 1 ? y : z) < 0 ? -1.0f : 1.0f;
    at(result, a, a) = c;
    at(result, b, b) = c;
    at(result, a, b) = -sign * s;
    at(result, b, a) = sign * s;
    return true;
}

}  // namespace

CMatrix::CMatrix() : m{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1} {}

CMatrix CMatrix::fromColumns(const float* values) {
    CMatrix result;
    std::memcpy(result.m, values, sizeof result.m);
    return result;
}

CMatrix CMatrix::fromColumns(const double* values) {
    CMatrix result;
    for (int i = 0; i < 16; ++i) result.m[i] = static_cast<float>(values[i]);
    return result;
}

CMatrix CMatrix::translation(float x, float y, float z) {
    CMatrix result;
    result.m[12] = x;
    result.m[13] = y;
    result.m[14] = z;
    return result;
}

CMatrix CMatrix::scaling(float x, float y, float z) {
    CMatrix result;
    result.m[0] = x;
    result.m[5] = y;
    result.m[10] = z;
    return result;
}

// u u^T (1 - c) + c I + s [u]x, with u the axis made unit length, all in float; the sine and
// cosine in float of the angle turned to radians in double, as the fixed-function renderer
// computes them.
CMatrix CMatrix::rotation(float angle, float x, float y, float z) {
    CMatrix result;
    const float radians = static_cast<float>(angle * kPi / 180.0);
    float s = std::sin(radians);
    float c = std::cos(radians);
    if (rotateAboutAnAxis(result, s, c, x, y, z)) return result;
    float length = std::sqrt(x * x + y * y + z * z);
    if (length <= 1.0e-4f) return result;
    x /= length;
    y /= length;
    z /= length;
    float oneMinusC = 1.0f - c;
    float xx = x * x, yy = y * y, zz = z * z;
    float xy = x * y, yz = y * z, zx = z * x, xs = x * s, ys = y * s, zs = z * s;
    at(result, 0, 0) = oneMinusC * xx + c;
    at(result, 0, 1) = oneMinusC * xy - zs;
    at(result, 0, 2) = oneMinusC * zx + ys;
    at(result, 1, 0) = oneMinusC * xy + zs;
    at(result, 1, 1) = oneMinusC * yy + c;
    at(result, 1, 2) = oneMinusC * yz - xs;
    at(result, 2, 0) = oneMinusC * zx - ys;
    at(result, 2, 1) = oneMinusC * yz + xs;
    at(result, 2, 2) = oneMinusC * zz + c;
    return result;
}

CMatrix CMatrix::orthographic(double left, double right, double bottom, double top, double nearZ,
                              double farZ) {
    CMatrix result;
    at(result, 0, 0) = static_cast<float>(2.0 / (right - left));
    at(result, 1, 1) = static_cast<float>(2.0 / (top - bottom));
    at(result, 2, 2) = static_cast<float>(-2.0 / (farZ - nearZ));
    at(result, 0, 3) = static_cast<float>(-(right + left) / (right - left));
    at(result, 1, 3) = static_cast<float>(-(top + bottom) / (top - bottom));
    at(result, 2, 3) = static_cast<float>(-(farZ + nearZ) / (farZ - nearZ));
    return result;
}

CMatrix CMatrix::operator*(const CMatrix& b) const {
    CMatrix product;
    for (int row = 0; row < 4; ++row) {
        const float a0 = m[row], a1 = m[4 + row], a2 = m[8 + row], a3 = m[12 + row];
        for (int column = 0; column < 4; ++column) {
            const float* bc = b.m + column * 4;
            product.m[column * 4 + row] = a0 * bc[0] + a1 * bc[1] + a2 * bc[2] + a3 * bc[3];
        }
    }
    return product;
}

bool CMatrix::operator==(const CMatrix& other) const {
    return std::memcmp(m, other.m, sizeof m) == 0;
}

// The cofactors of the upper 3 by 3 over its determinant are the inverse's transpose; written
// column by column.
void CMatrix::normalMatrix(float out[9]) const {
    const float a = m[0], b = m[4], c = m[8];
    const float d = m[1], e = m[5], f = m[9];
    const float g = m[2], h = m[6], i = m[10];
    const float cofactors[9] = {e * i - f * h, f * g - d * i, d * h - e * g,
                                c * h - b * i, a * i - c * g, b * g - a * h,
                                b * f - c * e, c * d - a * f, a * e - b * d};
    const float determinant = a * cofactors[0] + b * cofactors[1] + c * cofactors[2];
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            out[column * 3 + row] =
                determinant != 0 ? cofactors[row * 3 + column] / determinant : 0;
}

void CMatrix::transform(const float in[4], float out[4]) const {
    for (int row = 0; row < 4; ++row)
        out[row] = m[row] * in[0] + m[4 + row] * in[1] + m[8 + row] * in[2] + m[12 + row] * in[3];
}
