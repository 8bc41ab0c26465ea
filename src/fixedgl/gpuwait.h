// Waiting for the GL to finish everything asked of it, as glFinish promises: the gles3 renderer's
// glFinish, which benchmarks call to time what the GPU still had queued. Needs the ES context
// current; main thread only. gpuwait_gles3.cpp on a desktop, gpuwait_web.cpp in the browser.
#pragma once

void waitForGPU();
