// What the display can show, asked before any window exists (a bar file's window size is checked
// against it). Opens and closes SDL's video subsystem on its own. Main thread only.
#pragma once

// Beyond what GL implementations allow for a framebuffer anyway.
constexpr int kLargestPictureSide = 16384;

// The largest window the first display shows whole: the desktop's size, as no display mode is
// ever changed. Where no display can be asked, kLargestPictureSide each way.
void largestWindowSize(int& width, int& height);
