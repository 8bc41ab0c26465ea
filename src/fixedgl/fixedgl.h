// The fixed-function GL the show is written in, given by the gles3 renderer over OpenGL ES 3.0:
// each gl* and glu* name the show calls stands for the layer's own function (fixedgl_glEnable
// for glEnable, ...), so code written for GL 1.x compiles unchanged. What fixedgl/calls.h does
// not list does not exist in this renderer. Only for code above the layer; the layer calls ES.
#pragma once

#include "fixedgl/calls.h"

#define glEnable fixedgl_glEnable
#define glDisable fixedgl_glDisable
#define glHint fixedgl_glHint
#define glShadeModel fixedgl_glShadeModel
#define glBlendFunc fixedgl_glBlendFunc
#define glDepthFunc fixedgl_glDepthFunc
#define glCullFace fixedgl_glCullFace
#define glClearColor fixedgl_glClearColor
#define glClearDepth fixedgl_glClearDepth
#define glClear fixedgl_glClear
#define glColorMask fixedgl_glColorMask
#define glViewport fixedgl_glViewport
#define glLineWidth fixedgl_glLineWidth
#define glPolygonMode fixedgl_glPolygonMode
#define glFogf fixedgl_glFogf
#define glFogi fixedgl_glFogi
#define glFogfv fixedgl_glFogfv
#define glTexGeni fixedgl_glTexGeni
#define glPushAttrib fixedgl_glPushAttrib
#define glPopAttrib fixedgl_glPopAttrib
#define glFinish fixedgl_glFinish
#define glGetString fixedgl_glGetString
#define glGetIntegerv fixedgl_glGetIntegerv
#define glGetFloatv fixedgl_glGetFloatv
#define glPixelStorei fixedgl_glPixelStorei
#define glReadPixels fixedgl_glReadPixels
#define glMatrixMode fixedgl_glMatrixMode
#define glLoadIdentity fixedgl_glLoadIdentity
#define glPushMatrix fixedgl_glPushMatrix
#define glPopMatrix fixedgl_glPopMatrix
#define glTranslatef fixedgl_glTranslatef
#define glTranslated fixedgl_glTranslated
#define glRotatef fixedgl_glRotatef
#define glScalef fixedgl_glScalef
#define glMultMatrixf fixedgl_glMultMatrixf
#define glMultMatrixd fixedgl_glMultMatrixd
#define glOrtho fixedgl_glOrtho
#define gluPerspective fixedgl_gluPerspective
#define gluLookAt fixedgl_gluLookAt
#define glBegin fixedgl_glBegin
#define glEnd fixedgl_glEnd
#define glVertex3f fixedgl_glVertex3f
#define glNormal3f fixedgl_glNormal3f
#define glColor3f fixedgl_glColor3f
#define glColor4f fixedgl_glColor4f
#define glTexCoord2f fixedgl_glTexCoord2f
#define glEnableClientState fixedgl_glEnableClientState
#define glDisableClientState fixedgl_glDisableClientState
#define glVertexPointer fixedgl_glVertexPointer
#define glNormalPointer fixedgl_glNormalPointer
#define glTexCoordPointer fixedgl_glTexCoordPointer
#define glDrawElements fixedgl_glDrawElements
#define glGenTextures fixedgl_glGenTextures
#define glDeleteTextures fixedgl_glDeleteTextures
#define glBindTexture fixedgl_glBindTexture
#define glTexParameteri fixedgl_glTexParameteri
#define glTexImage2D fixedgl_glTexImage2D
#define glCopyTexImage2D fixedgl_glCopyTexImage2D
