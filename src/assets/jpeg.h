// Decodes one JPEG file into packed 8-bit RGB rows, bottom row first, ready for a GL upload.
// Refuses what it cannot decode whole (corrupt or cut data, oversize, CMYK, 12-bit, endless scans)
// with a message box and false. Does no GL uploads; needs the GL context only for its size limit.
#pragma once

#include <cstdio>
#include <memory>

struct jpeg_decompress_struct;

class Cjpeg {
public:
    Cjpeg();
    Cjpeg(const Cjpeg&) = delete;
    Cjpeg& operator=(const Cjpeg&) = delete;

    bool loadImage(const char* path);
    // Fills the members from a decompression object prepared by loadImage, whose error manager
    // returns control there on a refused or corrupt picture.
    int decode(jpeg_decompress_struct* cinfo);

    int rowSize;
    int width;
    int height;
    int bitsPerPixel;
    std::unique_ptr<unsigned char[]> data;

    // Progressive files with more scans than this are refused: each scan costs a full pass.
    static constexpr int kMaxScans = 500;

private:
    bool decodeFile(std::FILE* file, char* failure);
};
