// Which GL context the renderer the program was built with draws in: a compatibility-profile
// desktop context for gl1, an OpenGL ES 3.0 context for gles3. Asked of SDL before the window
// is made; video subsystem initialised; main thread only.
#pragma once

void requestContextProfile();
