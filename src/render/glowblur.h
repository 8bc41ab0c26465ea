// The glow of the spike room and the tunnel: the scene drawn small into the 128 by 128 lower-left
// corner of the frame is taken into a texture, smeared outward from the corner's centre by
// additive passes, each taken back into the same texture, and finally added over the whole frame.
// The caller sets the 128 by 128 viewport before the blur and clears the frame after it. Needs a
// current GL context with the modelview matrix current.
#pragma once

#include "fixedgl/gl.h"

constexpr int kGlowSize = 128;

// Binds the texture and makes the corner of the frame its contents.
void copyGlow(GLuint texture);

// Clears the frame, then six passes of six ever larger additive copies of the texture onto the
// corner, the corner taken into the texture after each pass. Leaves blending off, depth test on,
// lighting on and the texture bound.
void blurGlow(GLuint texture);

// Adds the texture over the whole frame at full strength and leaves the frame's orthographic
// projection and the additive blend in place, so that the scene can add its own pictures; the
// scene then calls endGlowOverlay.
void beginGlowOverlay(GLuint texture);

// Leaves the frame's projection; depth test back on, blending off.
void endGlowOverlay();
