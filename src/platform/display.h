// What the display can show, asked before any window exists (a bar file's resolution is checked
// against it). Opens and closes SDL's video subsystem on its own. Main thread only.
#pragma once

// The largest width and height any mode of the first display offers, the desktop's included.
// Where no display can be asked, a generous fixed limit is given instead.
void largestDisplaySize(int& width, int& height);
