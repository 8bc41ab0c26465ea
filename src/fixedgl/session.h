// The renderer's part in a GL context's life: started once the context is current, told to draw
// what it has gathered before a frame is shown or copied, stopped while the context is still
// current, before it goes. The gl1 renderer has nothing to do at any of them. Main thread only.
#pragma once

void fixedglStart();
void fixedglFlush();
void fixedglStop();
// "gl1" or "gles3": which renderer this program was built with.
const char* fixedglRenderer();
