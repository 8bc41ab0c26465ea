#include "support/picturefiles.h"

#include <gtest/gtest.h>
#include <png.h>

#include <fstream>
#include <iterator>

Bytes readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

Bytes pixelRows(const std::vector<std::vector<unsigned char>>& rows, int width, int channels) {
    Bytes pixels;
    for (const auto& colour : rows)
        for (int x = 0; x < width; ++x)
            pixels.insert(pixels.end(), colour.begin(), colour.begin() + channels);
    return pixels;
}

void writeJpeg(const std::string& path, int width, int height, const Bytes& pixels,
               const JpegOptions& options) {
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, file);
    cinfo.image_width = width;
    cinfo.image_height = height;
    cinfo.input_components = options.components;
    cinfo.in_color_space = options.space;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 100, TRUE);
    for (int c = 0; c < cinfo.num_components; ++c)
        cinfo.comp_info[c].h_samp_factor = cinfo.comp_info[c].v_samp_factor = 1;
    if (options.progressive) jpeg_simple_progression(&cinfo);
    if (!options.scans.empty()) {
        cinfo.scan_info = options.scans.data();
        cinfo.num_scans = static_cast<int>(options.scans.size());
    }
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(pixels.data()) +
                       static_cast<size_t>(cinfo.next_scanline) * width * options.components;
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::fclose(file);
}

void writePng(const std::string& path, int width, int height, int colorType, const Bytes& pixels,
              int bitDepth) {
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, bitDepth, colorType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    size_t rowBytes = pixels.size() / height;
    for (int y = 0; y < height; ++y) {
        Bytes row(pixels.begin() + y * rowBytes, pixels.begin() + (y + 1) * rowBytes);
        if (bitDepth == 16) {
            Bytes wide;
            for (unsigned char v : row) wide.insert(wide.end(), {v, v});
            row = wide;
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

long findJpegMarker(const Bytes& file, unsigned char code) {
    for (size_t i = 0; i + 1 < file.size(); ++i)
        if (file[i] == 0xFF && file[i + 1] == code) return static_cast<long>(i);
    return -1;
}
