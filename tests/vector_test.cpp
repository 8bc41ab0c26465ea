#include "math/vector.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "support/glfixture.h"

namespace {

const float kHalfPi = static_cast<float>(M_PI / 2);
const float kQuarterPi = static_cast<float>(M_PI / 4);

void expectNear(const CVector& actual, const CVector& expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-6);
    EXPECT_NEAR(actual.y, expected.y, 1e-6);
    EXPECT_NEAR(actual.z, expected.z, 1e-6);
}

bool sameBits(const CVector& a, const CVector& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

enum class Axis { X, Y, Z };

void rotateMember(CVector& v, Axis axis, float angle) {
    if (axis == Axis::X) v.rotateX(angle);
    if (axis == Axis::Y) v.rotateY(angle);
    if (axis == Axis::Z) v.rotateZ(angle);
}

void rotateFree(CVector& v, Axis axis, float angle) {
    if (axis == Axis::X) rotateX(v, angle);
    if (axis == Axis::Y) rotateY(v, angle);
    if (axis == Axis::Z) rotateZ(v, angle);
}

}  // namespace

TEST(CVector, ConstructionAndArithmetic) {
    EXPECT_TRUE(sameBits(CVector(), CVector(0, 0, 0)));
    CVector v = makeVector(1, 2, 3);
    EXPECT_EQ(v.x, 1);
    EXPECT_EQ(v.y, 2);
    EXPECT_EQ(v.z, 3);

    CVector between(makeVector(1, 2, 3), makeVector(4, 6, 3));
    EXPECT_EQ(between, makeVector(3, 4, 0));
    EXPECT_EQ(between.length(), 5.0f);
    CVector fromTo;
    fromTo.fromTo(makeVector(1, 2, 3), makeVector(4, 6, 3));
    EXPECT_EQ(fromTo, between);

    EXPECT_EQ(makeVector(1, 2, 3) - makeVector(4, 6, 3), makeVector(-3, -4, 0));
    EXPECT_EQ(makeVector(1, 2, 3) + makeVector(4, 6, 3), makeVector(5, 8, 6));
    v += makeVector(1, 1, 1);
    EXPECT_EQ(v, makeVector(2, 3, 4));
    EXPECT_EQ(makeVector(1, 2, 3).dot(makeVector(4, -5, 6)), 12.0f);
    EXPECT_EQ(makeVector(1, 0, 0).cross(makeVector(0, 1, 0)), makeVector(0, 0, 1));
    EXPECT_EQ(makeVector(0, 1, 0).cross(makeVector(1, 0, 0)), makeVector(0, 0, -1));

    CVector n = makeVector(3, 0, 4);
    n.normalize();
    expectNear(n, makeVector(0.6f, 0, 0.8f));
}

TEST(CVector, EqualityIsExact) {
    CVector a = makeVector(1, 2, 3);
    CVector b = a;
    EXPECT_TRUE(a == b);
    b.z = std::nextafter(b.z, 4.0f);
    EXPECT_FALSE(a == b);
}

// The quarter turns also catch a rotation that reads a component it has already overwritten.
TEST(CVector, RotationDirections) {
    const float r = static_cast<float>(M_SQRT1_2);
    struct Case {
        Axis axis;
        CVector in;
        float angle;
        CVector out;
    } cases[] = {
        {Axis::X, makeVector(0, 1, 0), kHalfPi, makeVector(0, 0, 1)},
        {Axis::X, makeVector(0, 0, 1), kHalfPi, makeVector(0, -1, 0)},
        {Axis::Y, makeVector(1, 0, 0), kHalfPi, makeVector(0, 0, 1)},
        {Axis::Y, makeVector(0, 0, 1), kHalfPi, makeVector(-1, 0, 0)},
        {Axis::Z, makeVector(1, 0, 0), kHalfPi, makeVector(0, -1, 0)},
        {Axis::Z, makeVector(0, 1, 0), kHalfPi, makeVector(1, 0, 0)},
        {Axis::X, makeVector(5, 1, 0), kQuarterPi, makeVector(5, r, r)},
        {Axis::Y, makeVector(1, 5, 0), kQuarterPi, makeVector(r, 5, r)},
        {Axis::Z, makeVector(1, 0, 5), kQuarterPi, makeVector(r, -r, 5)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "axis " << int(c.axis) << " angle " << c.angle);
        CVector member = c.in, free = c.in;
        rotateMember(member, c.axis, c.angle);
        rotateFree(free, c.axis, c.angle);
        expectNear(member, c.out);
        EXPECT_TRUE(sameBits(member, free));
    }
}

TEST(CVector, RotationByZeroKeepsEveryBit) {
    const CVector inputs[] = {makeVector(1, 2, 3), makeVector(-0.1f, 1e-30f, 7e20f),
                              makeVector(0.3f, -0.7f, 0.11f)};
    for (Axis axis : {Axis::X, Axis::Y, Axis::Z}) {
        for (const CVector& in : inputs) {
            CVector v = in;
            rotateMember(v, axis, 0);
            EXPECT_TRUE(sameBits(v, in));
        }
    }
}

TEST(CVector, RotationKeepsAxisAndRadius) {
    for (float angle = -7; angle < 7; angle += 0.37f) {
        CVector v = makeVector(2, 5, 0);
        v.rotateY(angle);
        EXPECT_EQ(v.y, 5);
        EXPECT_NEAR(v.x * v.x + v.z * v.z, 4, 1e-5);
    }
}

// The angle is radians as given: a full turn of 2 pi comes back, 360 would not.
TEST(CVector, AnglesAreRadians) {
    CVector v = makeVector(0, 1, 0);
    v.rotateX(static_cast<float>(2 * M_PI));
    expectNear(v, makeVector(0, 1, 0));
    CVector w = makeVector(0, 1, 0);
    w.rotateX(360);
    EXPECT_GT(std::fabs(w.z), 0.5f);
}

using CVectorGL = GLFixture;

// About X the rotations agree with glRotatef; about Y and Z they turn the other way.
TEST_F(CVectorGL, YAndZTurnOppositeToGlRotatef) {
    struct Case {
        Axis axis;
        float gx, gy, gz;
        CVector in;
        float sign;
    } cases[] = {
        {Axis::X, 1, 0, 0, makeVector(0, 1, 0), 1},
        {Axis::Y, 0, 1, 0, makeVector(1, 0, 0), -1},
        {Axis::Z, 0, 0, 1, makeVector(1, 0, 0), -1},
    };
    for (const Case& c : cases) {
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glRotatef(30, c.gx, c.gy, c.gz);
        GLfloat m[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        CVector byGL(m[0] * c.in.x + m[4] * c.in.y + m[8] * c.in.z,
                     m[1] * c.in.x + m[5] * c.in.y + m[9] * c.in.z,
                     m[2] * c.in.x + m[6] * c.in.y + m[10] * c.in.z);
        CVector ours = c.in;
        rotateMember(ours, c.axis, static_cast<float>(c.sign * M_PI / 6));
        SCOPED_TRACE(int(c.axis));
        expectNear(ours, byGL);
    }
}
