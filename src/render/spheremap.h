// Switches the sphere-mapped texture coordinates of the reflective objects on and off, for S and
// T together. The generation mode itself is set once with the GL defaults. Needs a current GL
// context.
#pragma once

void sphereMapOn();
void sphereMapOff();
