#include "assets/jpeg.h"

#include <jerror.h>
#include <jpeglib.h>

#include <cerrno>
#include <csetjmp>
#include <cstring>
#include <string>

#include "assets/picturelimits.h"
#include "core/systemreason.h"
#include "platform/messagebox.h"

namespace {

const char kCaption[] = "Cjpeg::loadImage()";
constexpr size_t kFailureLength = JMSG_LENGTH_MAX + 64;

// The library's default error exit ends the process; this one returns to decodeFile instead.
// Plain data only: a longjmp must not skip a destructor.
struct ErrorManager {
    jpeg_error_mgr pub;
    jpeg_progress_mgr progress;
    std::jmp_buf jump;
    char* failure;
};

ErrorManager* managerOf(j_common_ptr cinfo) {
    return reinterpret_cast<ErrorManager*>(cinfo->err);
}

[[noreturn]] void refuse(j_common_ptr cinfo, const char* reason) {
    ErrorManager* manager = managerOf(cinfo);
    std::snprintf(manager->failure, kFailureLength, "%s", reason);
    std::longjmp(manager->jump, 1);
}

[[noreturn]] void exitToCaller(j_common_ptr cinfo) {
    char text[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, text);
    refuse(cinfo, text);
}

// Warnings that leave the picture a clean file would give: stray bytes between segments, an
// unknown JFIF version or colour transform, odd scan parameters the decoder ignores. They pass, as
// the library's default lets them; every other warning (the file or a scan ends early, the coded
// data is corrupt, the progression is inconsistent) means pixels lost or made up.
bool isHarmless(int code) {
    return code == JWRN_EXTRANEOUS_DATA || code == JWRN_JFIF_MAJOR || code == JWRN_ADOBE_XFORM ||
           code == JWRN_NOT_SEQUENTIAL;
}

void refuseLostPixels(j_common_ptr cinfo, int level) {
    if (level < 0 && !isHarmless(cinfo->err->msg_code)) exitToCaller(cinfo);
}

// Called between scans while a multi-scan file is read in.
void countScans(j_common_ptr cinfo) {
    auto* decompress = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (decompress->input_scan_number > Cjpeg::kMaxScans) refuse(cinfo, "Too many scans");
}

void checkHeader(j_decompress_ptr cinfo) {
    j_common_ptr common = reinterpret_cast<j_common_ptr>(cinfo);
    if (cinfo->data_precision != 8) refuse(common, "Unsupported sample precision");
    if (cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK)
        refuse(common, "CMYK pictures are not supported");
    if (!pictureSizeAllowed(cinfo->image_width, cinfo->image_height))
        refuse(common, "Picture too large");
}

void report(const std::string& text) {
    showMessage(text.c_str(), kCaption);
}

}  // namespace

Cjpeg::Cjpeg() : rowSize(0), width(0), height(0), bitsPerPixel(0) {}

bool Cjpeg::loadImage(const char* path) {
    errno = 0;
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        report(std::string("Unable to open ") + path + systemReason(errno));
        return false;
    }
    char failure[kFailureLength] = "";
    bool decoded = decodeFile(file, failure);
    std::fclose(file);
    if (!decoded) {
        data.reset();
        report(std::string("Unable to decode ") + path + ": " + failure);
    }
    return decoded;
}

// Holds the setjmp, so it must hold no object with a destructor.
bool Cjpeg::decodeFile(std::FILE* file, char* failure) {
    jpeg_decompress_struct cinfo;
    ErrorManager manager;
    cinfo.err = jpeg_std_error(&manager.pub);
    manager.pub.error_exit = exitToCaller;
    manager.pub.emit_message = refuseLostPixels;
    manager.failure = failure;
    std::memset(&manager.progress, 0, sizeof manager.progress);
    manager.progress.progress_monitor = countScans;
    if (setjmp(manager.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    cinfo.progress = &manager.progress;
    jpeg_stdio_src(&cinfo, file);
    decode(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

// Every picture comes out as RGB, greyscale included, so uploads always read three bytes a pixel.
int Cjpeg::decode(jpeg_decompress_struct* cinfo) {
    jpeg_read_header(cinfo, TRUE);
    checkHeader(cinfo);
    cinfo->out_color_space = JCS_RGB;
    jpeg_start_decompress(cinfo);
    width = static_cast<int>(cinfo->output_width);
    height = static_cast<int>(cinfo->output_height);
    rowSize = width * cinfo->output_components;
    bitsPerPixel = cinfo->output_components * 8;
    data.reset();
    data = std::make_unique<unsigned char[]>(static_cast<size_t>(rowSize) * height);
    // From the library's pool, so that an error exit frees it with the decompression object.
    auto rows = reinterpret_cast<JSAMPARRAY>((*cinfo->mem->alloc_small)(
        reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE, sizeof(JSAMPROW) * height));
    for (int i = 0; i < height; ++i)
        rows[i] = data.get() + static_cast<size_t>(height - 1 - i) * rowSize;
    while (cinfo->output_scanline < cinfo->output_height) {
        JDIMENSION n = cinfo->output_scanline;
        jpeg_read_scanlines(cinfo, rows + n, cinfo->output_height - n);
    }
    return jpeg_finish_decompress(cinfo);
}
