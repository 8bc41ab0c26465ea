// Seeded gradient noise for the generated pictures: smooth, repeatable, and optionally periodic
// so that tiling pictures meet seamlessly. Values lie roughly in -1..1. Stateless after setup.
#pragma once

#include <cstdint>

class CNoise {
public:
    explicit CNoise(uint32_t seed);

    // Noise at (x, y) in lattice units; with period > 0 it repeats every `period` units.
    float at(float x, float y, int period = 0) const;
    // Sum of `octaves` layers, each twice the frequency and half the weight of the last.
    float fbm(float x, float y, int octaves, int period = 0) const;

private:
    float gradientDot(int ix, int iy, float dx, float dy, int period) const;
    uint32_t seed;
};

// A repeatable 32-bit hash, also used for scattering stars and rivets.
uint32_t hash32(uint32_t x);
// A repeatable number in 0..1 from two integers and a seed.
float hashUnit(int a, int b, uint32_t seed);
