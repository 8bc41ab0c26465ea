// The one three-component vector: positions, normals and angle triples, and the element type of
// the mesh arrays handed to GL as tightly packed floats. Plain value, no GL, no allocation;
// angles are radians.
#pragma once

#include <cstddef>
#include <type_traits>

class CVector {
public:
    CVector() : x(0), y(0), z(0) {}
    CVector(float x, float y, float z) : x(x), y(y), z(z) {}
    // The vector from the point `from` to the point `to`.
    CVector(const CVector& from, const CVector& to);

    void fromTo(const CVector& a, const CVector& b);
    float length() const;
    // A zero vector divides by zero; callers never normalize one.
    void normalize();
    void operator+=(const CVector& v);
    float dot(const CVector& v) const;
    // Exact: a difference in the last bit of one component counts.
    bool operator==(const CVector& v) const;
    CVector operator+(const CVector& v) const;
    CVector operator-(const CVector& v) const;
    CVector cross(const CVector& v) const;

    // Right-handed about +X; about Y and Z they turn the opposite way from glRotatef.
    void rotateX(float angle);
    void rotateY(float angle);
    void rotateZ(float angle);

    float x, y, z;
};

// Mesh arrays go to GL with stride 0 and are filled element by element by the loader.
static_assert(sizeof(CVector) == 3 * sizeof(float), "CVector must be three packed floats");
static_assert(std::is_standard_layout<CVector>::value, "CVector must have standard layout");
static_assert(std::is_trivially_copyable<CVector>::value, "CVector must copy bitwise");
static_assert(offsetof(CVector, x) == 0 && offsetof(CVector, y) == sizeof(float) &&
                  offsetof(CVector, z) == 2 * sizeof(float),
              "CVector components must be x, y, z in order");

void rotateX(CVector& v, float angle);
void rotateY(CVector& v, float angle);
void rotateZ(CVector& v, float angle);
CVector makeVector(float x, float y, float z);

// The rotations given the cosine and sine of their angle, for callers that turn many vectors by
// the same angle.
void turnX(CVector& v, double c, double s);
void turnY(CVector& v, double c, double s);
void turnZ(CVector& v, double c, double s);

// The arithmetic is inline: mesh normals run it for every triangle of every frame. Float
// arithmetic runs in double and is rounded to float only where it is stored.

inline CVector::CVector(const CVector& from, const CVector& to)
    : x(static_cast<float>(static_cast<double>(to.x) - from.x)),
      y(static_cast<float>(static_cast<double>(to.y) - from.y)),
      z(static_cast<float>(static_cast<double>(to.z) - from.z)) {}

inline void CVector::operator+=(const CVector& v) {
    *this = *this + v;
}

inline bool CVector::operator==(const CVector& v) const {
    return x == v.x && y == v.y && z == v.z;
}

inline CVector CVector::operator+(const CVector& v) const {
    return CVector(static_cast<float>(static_cast<double>(x) + v.x),
                   static_cast<float>(static_cast<double>(y) + v.y),
                   static_cast<float>(static_cast<double>(z) + v.z));
}

inline CVector CVector::operator-(const CVector& v) const {
    return CVector(v, *this);
}

inline CVector CVector::cross(const CVector& v) const {
    double ax = x, ay = y, az = z;
    return CVector(static_cast<float>(ay * v.z - az * v.y), static_cast<float>(az * v.x - ax * v.z),
                   static_cast<float>(ax * v.y - ay * v.x));
}
