// A 4 by 4 float matrix as fixed-function GL keeps one: column-major, points as columns
// (p' = M p), every product and builder rounded to float as a GL 1.x implementation does, so that
// matrices read back match the fixed-function renderer's. Pure arithmetic; any thread.
#pragma once

class CMatrix {
public:
    CMatrix();  // the identity

    static CMatrix fromColumns(const float* m);
    static CMatrix fromColumns(const double* m);  // each element rounded to float first
    static CMatrix translation(float x, float y, float z);
    static CMatrix scaling(float x, float y, float z);
    // angle in degrees about the axis (x, y, z), which need not be of unit length; a
    // zero-length axis gives the identity.
    static CMatrix rotation(float angle, float x, float y, float z);
    static CMatrix orthographic(double left, double right, double bottom, double top, double nearZ,
                                double farZ);

    // this * other
    CMatrix operator*(const CMatrix& other) const;
    bool operator==(const CMatrix& other) const;
    bool operator!=(const CMatrix& other) const { return !(*this == other); }

    // The inverse transpose of the upper 3 by 3, column-major, for turning normals into eye
    // coordinates; a singular matrix gives zeros.
    void normalMatrix(float out[9]) const;
    // M (x, y, z, w).
    void transform(const float in[4], float out[4]) const;

    float m[16];
};
