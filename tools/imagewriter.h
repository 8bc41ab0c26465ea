// Writes 8-bit RGB rows (top row first) as baseline JPEG through libjpeg, or RGB or RGBA rows
// as PNG through libpng. Both outputs are byte-for-byte repeatable. No reading, no other pixel
// formats.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

bool writeJpeg(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb,
               int quality);
// channels: 3 for RGB, 4 for RGBA (straight, not premultiplied, alpha).
bool writePng(const std::string& path, int width, int height, const std::vector<uint8_t>& pixels,
              int channels = 3);
