#include "offline/framecapture.h"

#include <png.h>
#include <zlib.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The caller gives the one message a failed frame deserves, with the system's reason.
void quietError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

// libpng reports errors by longjmp; this keeps the jump inside one plain function with no
// C++ objects alive across it.
bool encodePNG(FILE* file, png_bytep* rows, int width, int height) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, quietError, nullptr);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    // Speed over size: frames are many and usually re-encoded later.
    png_set_compression_level(png, Z_BEST_SPEED);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_rows(png, info, rows);
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

CFrameCapture::CFrameCapture(const std::string& path) : folder(path) {}

bool CFrameCapture::open(std::string& error) {
    std::error_code code;
    fs::create_directories(folder, code);
    if (code || !fs::is_directory(folder, code)) {
        error = "cannot create the folder " + folder + (code ? ": " + code.message() : "");
        return false;
    }
    return true;
}

std::string CFrameCapture::framePath(int64_t frame) const {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%06lld.png", static_cast<long long>(frame));
    return (fs::path(folder) / name).string();
}

bool CFrameCapture::write(int64_t frame, const uint8_t* rgb, int width, int height,
                          std::string& error) {
    std::string path = framePath(frame);
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    // GL's rows run bottom-up; a picture's run top-down.
    std::vector<png_bytep> rows(height);
    size_t stride = static_cast<size_t>(width) * 3;
    for (int y = 0; y < height; ++y)
        rows[y] = const_cast<png_bytep>(rgb + stride * static_cast<size_t>(height - 1 - y));
    errno = 0;
    bool encoded = encodePNG(file, rows.data(), width, height);
    int reason = errno;
    bool closed = std::fclose(file) == 0;
    if (closed && encoded) return true;
    // Buffered bytes may fail only at the close (a full disk): that reason is the one to give.
    if (!closed) reason = errno;
    error = "cannot write " + path + (reason != 0 ? std::string(": ") + std::strerror(reason) : "");
    std::remove(path.c_str());  // a cut picture is worse than none
    return false;
}
