// The glow of the spike room and the tunnel: the scene drawn small into the 128 by 128 lower-left
// corner of the frame is taken into a texture, then smeared outward from the corner's centre by
// additive passes, each taken back into the same texture. Draws only into that corner (the caller
// sets the 128 by 128 viewport before and clears the frame after); does not draw the glow over the
// frame. Needs a current GL context with the modelview matrix current.
#pragma once

#include <GL/gl.h>

constexpr int kGlowSize = 128;

// Binds the texture and makes the corner of the frame its contents.
void copyGlow(GLuint texture);

// Clears the frame, then six passes of six ever larger additive copies of the texture onto the
// corner, the corner taken into the texture after each pass. Leaves blending off, depth test on,
// lighting on and the texture bound.
void blurGlow(GLuint texture);
