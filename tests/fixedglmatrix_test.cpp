// The gles3 renderer's matrices against the system's fixed-function GL and GLU: the same calls
// must leave the same current matrix, bit for bit, so that both renderers place every vertex
// and billboard alike. Runs in the gl1 build, where GL is the system's.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "core/show.h"
#include "fixedgl/gl.h"
#include "fixedgl/matrixstack.h"
#include "fixedgl/viewmatrices.h"
#include "support/glfixture.h"

namespace {

// One transformation given to both: GL's call, and the layer's matrix for it.
struct Step {
    std::string what;
    std::function<void()> onGL;
    std::function<CMatrix()> matrix;
};

Step rotate(float angle, float x, float y, float z) {
    return {"rotate " + std::to_string(angle), [=] { glRotatef(angle, x, y, z); },
            [=] { return CMatrix::rotation(angle, x, y, z); }};
}

Step translate(float x, float y, float z) {
    return {"translate", [=] { glTranslatef(x, y, z); },
            [=] { return CMatrix::translation(x, y, z); }};
}

Step scale(float x, float y, float z) {
    return {"scale", [=] { glScalef(x, y, z); }, [=] { return CMatrix::scaling(x, y, z); }};
}

Step ortho(double l, double r, double b, double t, double n, double f) {
    return {"ortho", [=] { glOrtho(l, r, b, t, n, f); },
            [=] { return CMatrix::orthographic(l, r, b, t, n, f); }};
}

Step perspective(double fovy, double aspect, double n, double f) {
    return {"perspective", [=] { gluPerspective(fovy, aspect, n, f); },
            [=] { return CMatrix::fromColumns(perspectiveMatrix(fovy, aspect, n, f).data()); }};
}

// gluLookAt is a rotation and then a translation by -eye, two products on the stack.
void lookAt(std::vector<Step>& steps, const double (&v)[9]) {
    steps.push_back(
        {"look at", [=] { gluLookAt(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8]); },
         [=] {
             return CMatrix::fromColumns(
                 lookAtRotation(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8]).data());
         }});
    steps.push_back({"", [] {}, [=] { return CMatrix::translation(-v[0], -v[1], -v[2]); }});
}

class FixedGLMatrix : public GLFixture {};

TEST_F(FixedGLMatrix, TheSameCallsLeaveTheSameMatrixAsTheSystemsGL) {
    std::vector<std::vector<Step>> cases = {
        {rotate(30, 0, 1, 0), rotate(-270, 1, 0, 0), rotate(12.5f, 0, 0, 1)},
        {rotate(33.3f, 1, 1, 0), rotate(-71, 0.3f, -2, 5)},  // axes of any length
        {translate(1.5f, -2, 300), scale(1, -1, 1), rotate(107.4f, 0, 1, 0), scale(5, 5, 5)},
        {ortho(0, kFrameWidth, 0, kFrameHeight, -1, 1),
         translate(kCentredPictureX, kCentredPictureY, 0)},
        {perspective(45, double(kFrameWidth) / kFrameHeight, 1, 10000)},
        {perspective(45, 4.0 / 3.0, 1, 10000), rotate(-90, 0, 1, 0), translate(0, 0, -20)},
    };
    std::vector<Step> camera;
    lookAt(camera, {3.5, 12.25, -40, 0, 0, 0, 0, 1, 0});
    camera.push_back(rotate(17, 0, 1, 0));
    cases.push_back(camera);
    for (const auto& steps : cases) {
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        CMatrixStack stack;
        std::string trail;
        for (const Step& step : steps) {
            step.onGL();
            stack.multiply(step.matrix());
            trail += step.what + "; ";
        }
        float expected[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, expected);
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ(stack.top().m[i], expected[i]) << trail << "element " << i;
    }
}

}  // namespace
