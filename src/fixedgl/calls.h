// The fixed-function calls of OpenGL 1.x with GLU that the gles3 renderer gives, as one list:
// result, GL name, the pipeline's method, parameters, arguments; and the GL 1.x names of the
// values they take that ES lacks. Each call is declared as fixedgl_NAME. Plain declarations.
#pragma once

#include <GLES3/gl3.h>

typedef double GLdouble;

// The names of GL 1.x that ES lacks, with their GL values.
#define GL_QUADS 0x0007
#define GL_MODELVIEW 0x1700
#define GL_PROJECTION 0x1701
#define GL_TEXTURE 0x1702
#define GL_MODELVIEW_MATRIX 0x0BA6
#define GL_PROJECTION_MATRIX 0x0BA7
#define GL_TEXTURE_MATRIX 0x0BA8
#define GL_LIGHTING 0x0B50
#define GL_LIGHT0 0x4000
#define GL_NORMALIZE 0x0BA1
#define GL_SMOOTH 0x1D01
#define GL_FOG 0x0B60
#define GL_FOG_START 0x0B63
#define GL_FOG_END 0x0B64
#define GL_FOG_MODE 0x0B65
#define GL_FOG_COLOR 0x0B66
#define GL_FOG_HINT 0x0C54
#define GL_PERSPECTIVE_CORRECTION_HINT 0x0C50
#define GL_LINE_SMOOTH 0x0B20
#define GL_POINT_SMOOTH 0x0B10
#define GL_TEXTURE_GEN_S 0x0C60
#define GL_TEXTURE_GEN_T 0x0C61
#define GL_TEXTURE_GEN_MODE 0x2500
#define GL_SPHERE_MAP 0x2402
#define GL_S 0x2000
#define GL_T 0x2001
#define GL_VERTEX_ARRAY 0x8074
#define GL_NORMAL_ARRAY 0x8075
#define GL_TEXTURE_COORD_ARRAY 0x8078
#define GL_LINE 0x1B01
#define GL_FILL 0x1B02
#define GL_SCISSOR_BIT 0x00080000
#define GL_CLAMP 0x2900

#define FIXEDGL_CALLS(X)                                                                          \
    X(void, glEnable, enable, (GLenum cap), (cap))                                                \
    X(void, glDisable, disable, (GLenum cap), (cap))                                              \
    X(void, glHint, hint, (GLenum target, GLenum mode), (target, mode))                           \
    X(void, glShadeModel, shadeModel, (GLenum mode), (mode))                                      \
    X(void, glBlendFunc, blendFunc, (GLenum source, GLenum destination), (source, destination))   \
    X(void, glDepthFunc, depthFunc, (GLenum function), (function))                                \
    X(void, glCullFace, cullFace, (GLenum face), (face))                                          \
    X(void, glClearColor, clearColor, (GLfloat r, GLfloat g, GLfloat b, GLfloat a), (r, g, b, a)) \
    X(void, glClearDepth, clearDepth, (GLdouble depth), (depth))                                  \
    X(void, glClear, clear, (GLbitfield mask), (mask))                                            \
    X(void, glColorMask, colorMask, (GLboolean r, GLboolean g, GLboolean b, GLboolean a),         \
      (r, g, b, a))                                                                               \
    X(void, glViewport, viewport, (GLint x, GLint y, GLsizei w, GLsizei h), (x, y, w, h))         \
    X(void, glLineWidth, lineWidth, (GLfloat width), (width))                                     \
    X(void, glPolygonMode, polygonMode, (GLenum face, GLenum mode), (face, mode))                 \
    X(void, glFogf, fogf, (GLenum name, GLfloat value), (name, value))                            \
    X(void, glFogi, fogi, (GLenum name, GLint value), (name, value))                              \
    X(void, glFogfv, fogfv, (GLenum name, const GLfloat* values), (name, values))                 \
    X(void, glTexGeni, texGeni, (GLenum coord, GLenum name, GLint value), (coord, name, value))   \
    X(void, glPushAttrib, pushAttrib, (GLbitfield mask), (mask))                                  \
    X(void, glPopAttrib, popAttrib, (), ())                                                       \
    X(void, glFinish, finish, (), ())                                                             \
    X(const GLubyte*, glGetString, getString, (GLenum name), (name))                              \
    X(void, glGetIntegerv, getIntegerv, (GLenum name, GLint * values), (name, values))            \
    X(void, glGetFloatv, getFloatv, (GLenum name, GLfloat * values), (name, values))              \
    X(void, glPixelStorei, pixelStorei, (GLenum name, GLint value), (name, value))                \
    X(void, glReadPixels, readPixels,                                                             \
      (GLint x, GLint y, GLsizei w, GLsizei h, GLenum format, GLenum type, void* pixels),         \
      (x, y, w, h, format, type, pixels))                                                         \
    X(void, glMatrixMode, matrixMode, (GLenum mode), (mode))                                      \
    X(void, glLoadIdentity, loadIdentity, (), ())                                                 \
    X(void, glPushMatrix, pushMatrix, (), ())                                                     \
    X(void, glPopMatrix, popMatrix, (), ())                                                       \
    X(void, glTranslatef, translatef, (GLfloat x, GLfloat y, GLfloat z), (x, y, z))               \
    X(void, glTranslated, translated, (GLdouble x, GLdouble y, GLdouble z), (x, y, z))            \
    X(void, glRotatef, rotatef, (GLfloat angle, GLfloat x, GLfloat y, GLfloat z),                 \
      (angle, x, y, z))                                                                           \
    X(void, glScalef, scalef, (GLfloat x, GLfloat y, GLfloat z), (x, y, z))                       \
    X(void, glMultMatrixf, multMatrixf, (const GLfloat* m), (m))                                  \
    X(void, glMultMatrixd, multMatrixd, (const GLdouble* m), (m))                                 \
    X(void, glOrtho, ortho,                                                                       \
      (GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear,              \
       GLdouble zFar),                                                                            \
      (left, right, bottom, top, zNear, zFar))                                                    \
    X(void, gluPerspective, perspective,                                                          \
      (GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar),                            \
      (fovy, aspect, zNear, zFar))                                                                \
    X(void, gluLookAt, lookAt,                                                                    \
      (GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centreX, GLdouble centreY,           \
       GLdouble centreZ, GLdouble upX, GLdouble upY, GLdouble upZ),                               \
      (eyeX, eyeY, eyeZ, centreX, centreY, centreZ, upX, upY, upZ))                               \
    X(void, glBegin, begin, (GLenum mode), (mode))                                                \
    X(void, glEnd, end, (), ())                                                                   \
    X(void, glVertex3f, vertex3f, (GLfloat x, GLfloat y, GLfloat z), (x, y, z))                   \
    X(void, glNormal3f, normal3f, (GLfloat x, GLfloat y, GLfloat z), (x, y, z))                   \
    X(void, glColor3f, color3f, (GLfloat r, GLfloat g, GLfloat b), (r, g, b))                     \
    X(void, glColor4f, color4f, (GLfloat r, GLfloat g, GLfloat b, GLfloat a), (r, g, b, a))       \
    X(void, glTexCoord2f, texCoord2f, (GLfloat s, GLfloat t), (s, t))                             \
    X(void, glEnableClientState, enableClientState, (GLenum array), (array))                      \
    X(void, glDisableClientState, disableClientState, (GLenum array), (array))                    \
    X(void, glVertexPointer, vertexPointer,                                                       \
      (GLint size, GLenum type, GLsizei stride, const void* data), (size, type, stride, data))    \
    X(void, glNormalPointer, normalPointer, (GLenum type, GLsizei stride, const void* data),      \
      (type, stride, data))                                                                       \
    X(void, glTexCoordPointer, texCoordPointer,                                                   \
      (GLint size, GLenum type, GLsizei stride, const void* data), (size, type, stride, data))    \
    X(void, glDrawElements, drawElements,                                                         \
      (GLenum mode, GLsizei count, GLenum type, const void* indices),                             \
      (mode, count, type, indices))                                                               \
    X(void, glGenTextures, genTextures, (GLsizei n, GLuint * names), (n, names))                  \
    X(void, glDeleteTextures, deleteTextures, (GLsizei n, const GLuint* names), (n, names))       \
    X(void, glBindTexture, bindTexture, (GLenum target, GLuint name), (target, name))             \
    X(void, glTexParameteri, texParameteri, (GLenum target, GLenum name, GLint value),            \
      (target, name, value))                                                                      \
    X(void, glTexImage2D, texImage2D,                                                             \
      (GLenum target, GLint level, GLint internalFormat, GLsizei w, GLsizei h, GLint border,      \
       GLenum format, GLenum type, const void* pixels),                                           \
      (target, level, internalFormat, w, h, border, format, type, pixels))                        \
    X(void, glCopyTexImage2D, copyTexImage2D,                                                     \
      (GLenum target, GLint level, GLenum internalFormat, GLint x, GLint y, GLsizei w, GLsizei h, \
       GLint border),                                                                             \
      (target, level, internalFormat, x, y, w, h, border))

#define FIXEDGL_DECLARE(result, name, method, parameters, arguments) \
    result fixedgl_##name parameters;
FIXEDGL_CALLS(FIXEDGL_DECLARE)
#undef FIXEDGL_DECLARE
