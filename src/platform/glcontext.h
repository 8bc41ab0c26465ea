// Whether a GL call may be made now: objects that release GL names check it, because they can
// outlive the context (the scenes are deleted after the window at shutdown).
#pragma once

bool isGLContextCurrent();
