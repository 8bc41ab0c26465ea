// Writes meshes in the show's .ebr layout: a mesh count, then per mesh its counts, its name
// (no terminating zero), interleaved x y z s t floats and 32-bit index triples, little-endian.
#pragma once

#include <string>
#include <vector>

#include "meshbuilder.h"

// The whole file's bytes.
std::vector<unsigned char> encodeEbr(const std::vector<CMeshBuilder>& meshes);
bool writeEbr(const std::string& path, const std::vector<CMeshBuilder>& meshes);
