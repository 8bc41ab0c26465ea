// The show's six meshes, built from nothing: a two-sided square, a floor, a room cube, a
// spiky ball, a tunnel tube and a chamfered box; written as .ebr files under data/objects/.
#pragma once

#include <string>
#include <vector>

#include "meshbuilder.h"

namespace meshset {

CMeshBuilder quad();
CMeshBuilder floor();
CMeshBuilder bicube();
CMeshBuilder spikeSlime();
CMeshBuilder tunnel();
CMeshBuilder chamferBox();

// Tube measures the tunnel scene depends on.
const float kTunnelRadius = 110.0f;
const float kTunnelNearZ = -600.0f;  // in the file; the show negates and moves it by -200
const float kTunnelFarZ = 900.0f;

// File names with their builders, in a fixed order.
std::vector<std::pair<std::string, CMeshBuilder (*)()>> all();
bool writeAll(const std::string& dir, std::string& error);

}  // namespace meshset
