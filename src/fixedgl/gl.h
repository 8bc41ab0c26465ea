// The GL the show is written in: OpenGL 1.x with GLU, fixed function. The gl1 renderer is the
// system's own library. The gles3 renderer gives the same calls from this layer, drawn with
// OpenGL ES 3.0 shaders (fixedgl/fixedpipeline.h says what it covers); ES calls of the same name
// are reached through it, never directly. Needs a current context made by the platform layer.
#pragma once

#ifdef VEXMORO_GLES3
#include "fixedgl/fixedgl.h"
#else
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>
#endif
