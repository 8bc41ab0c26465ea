#include "iconpictures.h"

#include <algorithm>
#include <filesystem>

#include "creditpictures.h"
#include "imagewriter.h"
#include "painter.h"

namespace iconpictures {

namespace {

// The square of the title's sky the icon shows: the whole sun and a band of grid below the
// horizon, the sun's stripes still wide enough to read at 32 pixels.
const int kCropX = 112, kCropY = 100, kCropSide = 288;
// Corner radius of the tile, as a share of its side.
const float kCorner = 0.18f;

CCanvas art() {
    static const CCanvas cut = [] {
        CCanvas square(kCropSide, kCropSide);
        square.blit(creditpictures::titleSky(), -kCropX, -kCropY);
        return square;
    }();
    return cut;
}

}  // namespace

const std::vector<int>& sizes() {
    static const std::vector<int> all = {16, 22, 24, 32, 48, 64, 128, 256};
    return all;
}

CCanvas colour(int size) {
    return art().shrunk(size, size);
}

CMask coverage(int size) {
    CMask tile(size, size);
    const float half = size / 2.0f, corner = size * kCorner;
    tile.fill([=](float x, float y) {
        return paint::coverage(paint::box(x, y, half, half, half - corner, half - corner) - corner);
    });
    return tile;
}

bool writeAll(const std::string& dir, std::string& error) {
    for (int size : sizes()) {
        const std::string side = std::to_string(size);
        const std::string folder = dir + "/" + side + "x" + side + "/apps";
        std::error_code code;
        std::filesystem::create_directories(folder, code);
        const std::vector<uint8_t> rgb = colour(size).toRgb8();
        const CMask alpha = coverage(size);
        std::vector<uint8_t> rgba(size_t(size) * size * 4);
        for (size_t i = 0; i < size_t(size) * size; ++i) {
            std::copy_n(&rgb[i * 3], 3, &rgba[i * 4]);
            const float a = alpha.at(int(i % size), int(i / size));
            rgba[i * 4 + 3] = uint8_t(std::clamp(a, 0.0f, 1.0f) * 255.0f + 0.5f);
        }
        if (code || !writePng(folder + "/vexmoro.png", size, size, rgba, 4)) {
            error = "cannot write " + folder + "/vexmoro.png";
            return false;
        }
    }
    return true;
}

}  // namespace iconpictures
