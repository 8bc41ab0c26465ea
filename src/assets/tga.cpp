#include "assets/tga.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <utility>

#include "assets/picturelimits.h"
#include "platform/messagebox.h"

namespace {

constexpr int kHeaderSize = 18;
constexpr unsigned char kUncompressedTrueColour = 2;
// Image descriptor bits: the file stores its rows from the top, its pixels from the right.
constexpr unsigned char kTopFirst = 0x20;
constexpr unsigned char kRightFirst = 0x10;

int64_t sizeOf(std::ifstream& in) {
    in.seekg(0, std::ios::end);
    int64_t size = static_cast<int64_t>(in.tellg());
    in.seekg(0, std::ios::beg);
    return size;
}

// The reason a header cannot be loaded, or null when it can. Only type 2 files without a colour
// map are read; the pixels follow the 18 header bytes and the image ID, and their declared size
// must fit both the file and the picture limits before anything is allocated.
const char* checkHeader(const unsigned char* start, const unsigned char* header, int64_t fileSize) {
    if (start[2] != kUncompressedTrueColour) return "Unsupported TGA image type";
    if (start[1] != 0) return "Unsupported TGA colour map";
    int depth = header[4];
    if (depth != 24 && depth != 32) return "Unsupported TGA depth";
    int64_t w = header[0] + 256 * header[1];
    int64_t h = header[2] + 256 * header[3];
    if (!pictureSizeAllowed(w, h)) return "Unsupported TGA size";
    if (fileSize - kHeaderSize - start[0] < w * h * (depth / 8)) return "TGA file is truncated";
    return nullptr;
}

// Rows bottom-up and pixels left to right, as GL takes them, whatever order the file keeps.
void putUpright(unsigned char* data, int width, int height, int bytes, unsigned char descriptor) {
    size_t row = static_cast<size_t>(width) * bytes;
    if (descriptor & kTopFirst)
        for (int y = 0; y < height / 2; ++y)
            std::swap_ranges(data + y * row, data + (y + 1) * row, data + (height - 1 - y) * row);
    if (descriptor & kRightFirst)
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width / 2; ++x) {
                unsigned char* left = data + y * row + static_cast<size_t>(x) * bytes;
                std::swap_ranges(left, left + bytes, data + y * row + (width - 1 - x) * bytes);
            }
}

}  // namespace

CTGA::CTGA() : bitsPerPixel(0), width(0), height(0), format(GL_RGB) {}

bool CTGA::loadImage(const char* path) {
    fileName = path;
    std::ifstream intga(path, std::ios::binary);
    if (!intga) return false;
    int64_t fileSize = sizeOf(intga);
    unsigned char TGAheader[12] = {};
    unsigned char header[6] = {};
    intga.read(reinterpret_cast<char*>(TGAheader), sizeof TGAheader);
    intga.read(reinterpret_cast<char*>(header), sizeof header);
    const char* refusal =
        intga ? checkHeader(TGAheader, header, fileSize) : "TGA file is truncated";
    if (refusal != nullptr) {
        showMessage(refusal, "CTGA::loadImage()");
        return false;
    }
    intga.ignore(TGAheader[0]);  // the image ID: free text nothing here uses
    width = header[0] + 256 * header[1];
    height = header[2] + 256 * header[3];
    bitsPerPixel = header[4];
    format = bitsPerPixel == 24 ? GL_RGB : GL_RGBA;
    int b = bitsPerPixel / 8;
    size_t n = static_cast<size_t>(width) * height * b;
    data = std::make_unique<unsigned char[]>(n);
    intga.read(reinterpret_cast<char*>(data.get()), static_cast<std::streamsize>(n));
    for (size_t i = 0; i < n; i += b) std::swap(data[i], data[i + 2]);
    putUpright(data.get(), width, height, b, header[5]);
    return true;
}
