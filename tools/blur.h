// Separable blur for the generator's float images, interleaved channels. Three box passes give
// a near-Gaussian; wrapping edges keep tiling pictures seamless. Not a general filter library.
#pragma once

// Blurs w x h pixels of `channels` floats in place with a Gaussian-like kernel of about sigma.
void blurImage(float* data, int w, int h, int channels, float sigma, bool wrap);
