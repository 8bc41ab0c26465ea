// The random sequence the scenes' layouts depend on: a 32-bit linear congruential generator
// (state * 214013 + 2531011, results 0..32767), the same on every platform, unlike the C
// library's rand(). One shared state, seeded once by the entry point; main thread only.
#pragma once

constexpr int kRandomMax = 32767;

void seedRandom(unsigned int seed);
int nextRandom();
// The scenes' random number from 0 to 1: the next result times the float 1/32767, in double, so
// that it is rounded to a float only where a scene stores what it computed from it.
double randomUnit();
