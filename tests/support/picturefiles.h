// Test support: writes small JPEG, PNG and raw files into the process's scratch folder, so that
// loader tests make their own pictures. Pixels are given top row first, as the files store them.
#pragma once

#include <cstdio>  // jpeglib.h needs FILE and size_t first

#include <jpeglib.h>

#include <string>
#include <vector>

#include "support/scratchdir.h"  // tempPath

using Bytes = std::vector<unsigned char>;

Bytes readBytes(const std::string& path);
void writeBytes(const std::string& path, const Bytes& bytes);

// `rows` top to bottom, each a list of pixels with `channels` bytes.
Bytes pixelRows(const std::vector<std::vector<unsigned char>>& rows, int width, int channels);

struct JpegOptions {
    JpegOptions(J_COLOR_SPACE space = JCS_RGB, int components = 3, bool progressive = false,
                std::vector<jpeg_scan_info> scans = {})
        : space(space), components(components), progressive(progressive), scans(scans) {}
    J_COLOR_SPACE space;
    int components;
    bool progressive;
    std::vector<jpeg_scan_info> scans;  // a custom scan script when not empty
};

// Quality 100 without chroma subsampling, so solid colours come back within a few levels.
void writeJpeg(const std::string& path, int width, int height, const Bytes& pixels,
               const JpegOptions& options = JpegOptions());

// 8-bit samples unless `bitDepth` is 16 (then each sample byte is written twice).
void writePng(const std::string& path, int width, int height, int colorType, const Bytes& pixels,
              int bitDepth = 8);

// Offset of the first marker with this code (0xC0 for a baseline frame), or -1.
long findJpegMarker(const Bytes& file, unsigned char code);
