#include "math/vector.h"

#include <cmath>

void CVector::fromTo(const CVector& a, const CVector& b) {
    *this = CVector(a, b);
}

float CVector::length() const {
    double xd = x, yd = y, zd = z;
    return static_cast<float>(std::sqrt(xd * xd + yd * yd + zd * zd));
}

void CVector::normalize() {
    float len = length();
    x = static_cast<float>(static_cast<double>(x) / len);
    y = static_cast<float>(static_cast<double>(y) / len);
    z = static_cast<float>(static_cast<double>(z) / len);
}

float CVector::dot(const CVector& v) const {
    return static_cast<float>(static_cast<double>(x) * v.x + static_cast<double>(y) * v.y +
                              static_cast<double>(z) * v.z);
}

void CVector::rotateX(float angle) {
    double a = angle;
    turnX(*this, std::cos(a), std::sin(a));
}

void CVector::rotateY(float angle) {
    double a = angle;
    turnY(*this, std::cos(a), std::sin(a));
}

void CVector::rotateZ(float angle) {
    double a = angle;
    turnZ(*this, std::cos(a), std::sin(a));
}

// Each rotation reads both old components before storing either.
void turnX(CVector& v, double c, double s) {
    double oy = v.y, oz = v.z;
    v.y = static_cast<float>(c * oy - s * oz);
    v.z = static_cast<float>(s * oy + c * oz);
}

void turnY(CVector& v, double c, double s) {
    double ox = v.x, oz = v.z;
    v.x = static_cast<float>(c * ox - s * oz);
    v.z = static_cast<float>(s * ox + c * oz);
}

void turnZ(CVector& v, double c, double s) {
    double ox = v.x, oy = v.y;
    v.x = static_cast<float>(c * ox + s * oy);
    v.y = static_cast<float>(c * oy - s * ox);
}

void rotateX(CVector& v, float angle) {
    v.rotateX(angle);
}
void rotateY(CVector& v, float angle) {
    v.rotateY(angle);
}
void rotateZ(CVector& v, float angle) {
    v.rotateZ(angle);
}

CVector makeVector(float x, float y, float z) {
    return CVector(x, y, z);
}
