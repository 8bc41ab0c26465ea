// The largest pictures the loaders accept, checked against the declared size before any pixel
// buffer is allocated, so that a hostile header cannot make a loader allocate gigabytes.
// Needs nothing; with a GL context current the texture-size limit of the driver also applies.
#pragma once

#include <cstdint>

// Pixels in one picture: 8192 by 4096, about 100 MB as RGB; the show's pictures are far smaller.
constexpr int64_t kMaxPicturePixels = int64_t(1) << 25;

// The longest side a texture may have: GL_MAX_TEXTURE_SIZE when a context is current, never more
// than 16384.
int maxPictureSide();

// Whether a picture of this declared size may be allocated.
bool pictureSizeAllowed(int64_t width, int64_t height);
