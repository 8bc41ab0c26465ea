// The matrices GLU's gluPerspective and gluLookAt multiply onto the current matrix, computed
// the way GLU computes them (the perspective in double, the view's axes in float), so that
// both renderers place the camera alike. Pure arithmetic; any thread.
#pragma once

#include <array>

// Column-major. An empty field of view, aspect or depth range gives the identity, which GLU
// leaves the matrix alone for.
std::array<double, 16> perspectiveMatrix(double fovy, double aspect, double zNear, double zFar);

// The rotation part of the view: rows side, up and -forward. The caller then translates by
// -eye, as GLU does.
std::array<float, 16> lookAtRotation(double eyeX, double eyeY, double eyeZ, double centreX,
                                     double centreY, double centreZ, double upX, double upY,
                                     double upZ);
