#include "assets/pngbind.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "assets/picturelimits.h"

namespace {

const png_alloc_size_t kMaxChunkBytes = 1u << 20;
const png_uint_32 kMaxKeptChunks = 32;
// The library's own buffers (rows of at most 16384 pixels, the inflate window) stay far below a
// chunk's limit, so nothing it needs is larger than one chunk's data and its terminator.
const png_alloc_size_t kMaxAllocation = kMaxChunkBytes + 1;

thread_local std::string lastProblem;

// Plain data: lives outside the function that holds the setjmp, so it survives a longjmp.
struct PngRead {
    std::FILE* file;
    png_structp png;
    png_infop info;
    unsigned char* pixels;
    png_bytep* rows;
    png_uint_32 width;
    png_uint_32 height;
    int channels;
    int depth;
    char problem[128];
};

// The caller's box is the one message a refused file gets, carrying the library's reason.
void quietError(png_structp png, png_const_charp message) {
    auto* read = static_cast<PngRead*>(png_get_error_ptr(png));
    std::snprintf(read->problem, sizeof read->problem, "%s", message);
    png_longjmp(png, 1);
}

// Warnings (a known-bad colour profile, a text chunk skipped) leave the pixels whole.
void quietWarning(png_structp, png_const_charp) {}

// The library only warns about a chunk over the limit, then allocates and clears whatever size
// the file claims; such a chunk stops the read instead, as libpng's strict mode would.
png_voidp limitedMalloc(png_structp png, png_alloc_size_t size) {
    if (size > kMaxAllocation) png_chunk_error(png, "chunk data is too large");
    return std::malloc(size);
}

void plainFree(png_structp, png_voidp memory) {
    std::free(memory);
}

// Every colour type becomes 8-bit RGB, or RGBA where alpha is kept.
void setTransforms(PngRead& read, bool keepAlpha) {
    png_structp png = read.png;
    int type = png_get_color_type(png, read.info);
    read.depth = png_get_bit_depth(png, read.info);
    png_set_expand(png);
    png_set_strip_16(png);
    if (type == PNG_COLOR_TYPE_GRAY || type == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    if (!keepAlpha) png_set_strip_alpha(png);
    png_read_update_info(png, read.info);
    read.channels = png_get_channels(png, read.info);
}

// Holds the setjmp, so it must hold no object with a destructor.
bool readPixels(PngRead& read, bool keepAlpha) {
    if (setjmp(png_jmpbuf(read.png))) return false;
    png_init_io(read.png, read.file);
    int side = maxPictureSide();
    png_set_user_limits(read.png, side, side);
    // Text, profiles and the like together never take more than a few megabytes: a larger chunk
    // stops the read (limitedMalloc), chunks past the count are skipped with a warning.
    png_set_chunk_malloc_max(read.png, kMaxChunkBytes);
    png_set_chunk_cache_max(read.png, kMaxKeptChunks);
    png_read_info(read.png, read.info);
    read.width = png_get_image_width(read.png, read.info);
    read.height = png_get_image_height(read.png, read.info);
    if (!pictureSizeAllowed(read.width, read.height)) {
        std::snprintf(read.problem, sizeof read.problem, "picture too large");
        return false;
    }
    setTransforms(read, keepAlpha);
    size_t rowBytes = png_get_rowbytes(read.png, read.info);
    read.pixels = static_cast<unsigned char*>(std::malloc(rowBytes * read.height));
    read.rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * read.height));
    if (read.pixels == nullptr || read.rows == nullptr) {
        std::snprintf(read.problem, sizeof read.problem, "out of memory");
        return false;
    }
    for (png_uint_32 i = 0; i < read.height; ++i)
        read.rows[read.height - 1 - i] = read.pixels + i * rowBytes;
    png_read_image(read.png, read.rows);
    png_read_end(read.png, nullptr);
    return true;
}

bool readFile(const char* filename, PngRead& read, bool keepAlpha) {
    read.file = std::fopen(filename, "rb");
    if (read.file == nullptr) {
        std::snprintf(read.problem, sizeof read.problem, "%s", std::strerror(errno));
        return false;
    }
    read.png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, &read, quietError, quietWarning,
                                        nullptr, limitedMalloc, plainFree);
    if (read.png != nullptr) read.info = png_create_info_struct(read.png);
    bool ok = read.info != nullptr && readPixels(read, keepAlpha);
    png_destroy_read_struct(&read.png, &read.info, nullptr);
    std::fclose(read.file);
    std::free(read.rows);
    read.rows = nullptr;
    return ok;
}

GLuint upload(const PngRead& read, int wrapst, int minfilter, int magfilter) {
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrapst);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrapst);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minfilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magfilter);
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    GLenum format = read.channels == 4 ? GL_RGBA : GL_RGB;
    glTexImage2D(GL_TEXTURE_2D, 0, read.channels, static_cast<GLsizei>(read.width),
                 static_cast<GLsizei>(read.height), 0, format, GL_UNSIGNED_BYTE, read.pixels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    return id;
}

}  // namespace

GLuint pngBind(const char* filename, int mipmap, int trans, pngInfo* info, int wrapst,
               int minfilter, int magfilter) {
    if (mipmap != PNG_NOMIPMAPS || (trans != PNG_ALPHA && trans != PNG_SOLID)) {
        lastProblem = "the mode is not offered";
        return 0;
    }
    PngRead read = {};
    if (!readFile(filename, read, trans == PNG_ALPHA)) {
        std::free(read.pixels);
        lastProblem = read.problem[0] != '\0' ? read.problem : "it cannot be read";
        return 0;
    }
    lastProblem.clear();
    GLuint id = upload(read, wrapst, minfilter, magfilter);
    if (info != nullptr)
        *info = {read.width, read.height, unsigned(read.depth), read.channels == 4 ? 8u : 0u};
    std::free(read.pixels);
    return id;
}

const char* pngBindProblem() {
    return lastProblem.c_str();
}
