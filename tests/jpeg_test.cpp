#include "assets/jpeg.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "support/messagerecorder.h"
#include "support/picturefiles.h"

namespace {

const std::vector<unsigned char> kRed = {255, 0, 0}, kBlue = {0, 0, 255};

void expectNear(const unsigned char* pixel, const std::vector<unsigned char>& colour) {
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(pixel[c], colour[c], 12) << "component " << c;
}

std::string colourJpeg(int width, int height, const JpegOptions& options = JpegOptions()) {
    std::string path = tempPath("colour.jpg");
    std::vector<std::vector<unsigned char>> rows(height, kBlue);
    for (int y = 0; y < height / 2; ++y) rows[y] = kRed;
    writeJpeg(path, width, height, pixelRows(rows, width, 3), options);
    return path;
}

TEST(Cjpeg, ColourPictureComesOutBottomRowFirst) {
    std::string path = colourJpeg(4, 2);  // top row red, bottom row blue
    Cjpeg jpeg;
    ASSERT_TRUE(jpeg.loadImage(path.c_str()));
    EXPECT_EQ(jpeg.width, 4);
    EXPECT_EQ(jpeg.height, 2);
    EXPECT_EQ(jpeg.rowSize, 12);
    EXPECT_EQ(jpeg.bitsPerPixel, 24);
    for (int x = 0; x < 4; ++x) expectNear(jpeg.data.get() + 3 * x, kBlue);
    for (int x = 0; x < 4; ++x) expectNear(jpeg.data.get() + 12 + 3 * x, kRed);
}

TEST(Cjpeg, GreyscaleIsConvertedToRgb) {
    std::string path = tempPath("grey.jpg");
    writeJpeg(path, 5, 3, pixelRows({{40}, {120}, {200}}, 5, 1), {JCS_GRAYSCALE, 1});
    Cjpeg jpeg;
    ASSERT_TRUE(jpeg.loadImage(path.c_str()));
    EXPECT_EQ(jpeg.rowSize, 15);
    EXPECT_EQ(jpeg.bitsPerPixel, 24);
    const int bottomUp[3] = {200, 120, 40};
    for (int y = 0; y < 3; ++y)
        for (int i = 0; i < 15; ++i) EXPECT_NEAR(jpeg.data[y * 15 + i], bottomUp[y], 6);
}

TEST(Cjpeg, ProgressiveFileDecodes) {
    std::string path = colourJpeg(16, 16, {JCS_RGB, 3, true});
    Cjpeg jpeg;
    ASSERT_TRUE(jpeg.loadImage(path.c_str()));
    expectNear(jpeg.data.get(), kBlue);
    expectNear(jpeg.data.get() + 15 * jpeg.rowSize, kRed);
}

// The reason a name far too long cannot be opened differs between systems; that there is one
// does not.
TEST(Cjpeg, MissingFileGivesOneBoxWithThePathUnchangedAndWhy) {
    for (size_t length : {10u, 5000u}) {
        std::string path = "/nonexistent/" + std::string(length, 'p') + ".jpg";
        MessageRecorder recorder;
        Cjpeg jpeg;
        EXPECT_FALSE(jpeg.loadImage(path.c_str()));
        ASSERT_EQ(recorder.boxes.size(), 1u);
        const std::string opening = "Unable to open " + path + ": ";
        if (length == 10) {
            EXPECT_EQ(recorder.boxes[0].text, opening + std::strerror(ENOENT));
        }
        EXPECT_EQ(recorder.boxes[0].text.rfind(opening, 0), 0u);
        EXPECT_GT(recorder.boxes[0].text.size(), opening.size());
        EXPECT_EQ(recorder.boxes[0].caption, "Cjpeg::loadImage()");
        EXPECT_EQ(recorder.boxes[0].style, MessageBoxStyle::Plain);
        EXPECT_EQ(jpeg.data, nullptr);
    }
}

// A greyscale file with one DC scan and ten refinement scans for each AC coefficient.
std::vector<jpeg_scan_info> endlessScans() {
    std::vector<jpeg_scan_info> scans = {{1, {0}, 0, 0, 0, 0}};
    for (int k = 1; k < 64; ++k) {
        scans.push_back({1, {0}, k, k, 0, 9});
        for (int al = 8; al >= 0; --al) scans.push_back({1, {0}, k, k, al + 1, al});
    }
    return scans;
}

void patchSize(Bytes& file, int width, int height) {
    long sof = findJpegMarker(file, 0xC0);
    ASSERT_GT(sof, 0);
    file[sof + 5] = height >> 8, file[sof + 6] = height & 0xFF;
    file[sof + 7] = width >> 8, file[sof + 8] = width & 0xFF;
}

struct BadJpeg {
    const char* name;
    std::function<std::string()> make;
    const char* reason;  // part of the box text
};

std::string edited(const std::function<void(Bytes&)>& edit) {
    Bytes file = readBytes(colourJpeg(16, 16));
    edit(file);
    std::string path = tempPath("bad.jpg");
    writeBytes(path, file);
    return path;
}

std::string written(const std::vector<unsigned char>& sample, const JpegOptions& options) {
    std::string path = tempPath("written.jpg");
    writeJpeg(path, 16, 16, pixelRows({16, sample}, 16, options.components), options);
    return path;
}

const BadJpeg kBadJpegs[] = {
    {"empty", [] { return edited([](Bytes& f) { f.clear(); }); }, ""},
    {"garbage", [] { return edited([](Bytes& f) { f.assign(3000, 0x5A); }); }, "Not a JPEG"},
    {"start marker only", [] { return edited([](Bytes& f) { f.resize(2); }); }, ""},
    {"cut inside the tables",
     [] { return edited([](Bytes& f) { f.resize(findJpegMarker(f, 0xC4) + 20); }); }, ""},
    {"12-bit samples", [] { return edited([](Bytes& f) { f[findJpegMarker(f, 0xC0) + 4] = 12; }); },
     "precision"},
    {"side over the limit", [] { return edited([](Bytes& f) { patchSize(f, 20000, 16); }); },
     "too large"},
    {"pixels over the budget", [] { return edited([](Bytes& f) { patchSize(f, 8000, 8000); }); },
     "too large"},
    {"zero height", [] { return edited([](Bytes& f) { patchSize(f, 16, 0); }); }, ""},
    {"CMYK",
     [] {
         return written({1, 2, 3, 4}, {JCS_CMYK, 4});
     },
     "CMYK"},
    {"YCCK",
     [] {
         return written({1, 2, 3, 4}, {JCS_YCCK, 4});
     },
     "CMYK"},
    {"endless scans",
     [] {
         return written({90}, {JCS_GRAYSCALE, 1, false, endlessScans()});
     },
     "Too many scans"},
    // The library would make up the rest of the picture and only warn.
    {"cut inside the pixels",
     [] { return edited([](Bytes& f) { f.resize((findJpegMarker(f, 0xDA) + f.size()) / 2); }); },
     "Premature end of JPEG file"},
    {"scan ending early",
     [] {
         return edited([](Bytes& f) {
             f.resize((findJpegMarker(f, 0xDA) + f.size()) / 2);
             f.insert(f.end(), {0xFF, 0xD9});
         });
     },
     "premature end of data segment"},
};

TEST(Cjpeg, MalformedFilesGiveOneBoxAndFalse) {
    for (const BadJpeg& bad : kBadJpegs) {
        SCOPED_TRACE(bad.name);
        std::string path = bad.make();
        MessageRecorder recorder;
        Cjpeg jpeg;
        EXPECT_FALSE(jpeg.loadImage(path.c_str()));
        EXPECT_EQ(jpeg.data, nullptr);
        ASSERT_EQ(recorder.boxes.size(), 1u);
        EXPECT_EQ(recorder.boxes[0].caption, "Cjpeg::loadImage()");
        EXPECT_EQ(recorder.boxes[0].style, MessageBoxStyle::Plain);
        EXPECT_NE(recorder.boxes[0].text.find(path), std::string::npos) << recorder.boxes[0].text;
        EXPECT_NE(recorder.boxes[0].text.find(bad.reason), std::string::npos)
            << recorder.boxes[0].text;
    }
}

// The first warning libjpeg gives on the file when left to its defaults, which decode on.
std::string libraryWarning(const std::string& path) {
    struct Manager {
        jpeg_error_mgr pub;
        std::jmp_buf jump;
        std::string warning;
        static void stop(j_common_ptr cinfo) {
            std::longjmp(reinterpret_cast<Manager*>(cinfo->err)->jump, 1);
        }
        static void note(j_common_ptr cinfo, int level) {
            auto* manager = reinterpret_cast<Manager*>(cinfo->err);
            char text[JMSG_LENGTH_MAX];
            (*cinfo->err->format_message)(cinfo, text);
            if (level < 0 && manager->warning.empty()) manager->warning = text;
        }
    };
    Manager manager;
    jpeg_decompress_struct cinfo;
    cinfo.err = jpeg_std_error(&manager.pub);
    manager.pub.error_exit = Manager::stop;
    manager.pub.emit_message = Manager::note;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!setjmp(manager.jump)) {
        jpeg_create_decompress(&cinfo);
        jpeg_stdio_src(&cinfo, file);
        jpeg_read_header(&cinfo, TRUE);
        jpeg_start_decompress(&cinfo);
        std::vector<unsigned char> row(cinfo.output_width * cinfo.output_components);
        JSAMPROW rows[1] = {row.data()};
        while (cinfo.output_scanline < cinfo.output_height) jpeg_read_scanlines(&cinfo, rows, 1);
        jpeg_finish_decompress(&cinfo);
    }
    jpeg_destroy_decompress(&cinfo);
    std::fclose(file);
    return manager.warning;
}

// Warnings that change no pixel pass, as other programs let them: the file gives the picture of
// its clean twin.
TEST(Cjpeg, HarmlessWarningsGiveTheCleanPicture) {
    struct Case {
        const char* name;
        std::function<void(Bytes&)> edit;
        const char* warning;  // words of the library's warning
    };
    const Case cases[] = {
        {"stray bytes before the end",
         [](Bytes& f) {
             f.insert(f.end() - 2, {1, 2, 3});
         },
         "extraneous bytes before marker 0xd9"},
        {"stray bytes before the scan",
         [](Bytes& f) {
             f.insert(f.begin() + findJpegMarker(f, 0xDA), {7, 7});
         },
         "extraneous bytes before marker 0xda"},
        {"unknown JFIF version", [](Bytes& f) { f[findJpegMarker(f, 0xE0) + 9] = 2; },
         "Warning: unknown JFIF revision number 2.01"},
    };
    std::string clean = colourJpeg(16, 16);
    Cjpeg twin;
    ASSERT_TRUE(twin.loadImage(clean.c_str()));
    const Bytes cleanPixels(twin.data.get(), twin.data.get() + twin.rowSize * twin.height);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = edited(c.edit);
        EXPECT_NE(libraryWarning(path).find(c.warning), std::string::npos) << libraryWarning(path);
        MessageRecorder recorder;
        Cjpeg jpeg;
        ASSERT_TRUE(jpeg.loadImage(path.c_str()));
        EXPECT_TRUE(recorder.boxes.empty());
        EXPECT_EQ(Bytes(jpeg.data.get(), jpeg.data.get() + jpeg.rowSize * jpeg.height),
                  cleanPixels);
    }
}

TEST(Cjpeg, ObjectCanBeReusedAfterAFailure) {
    std::string good = colourJpeg(8, 8);
    std::string bad = edited([](Bytes& f) { f.assign(100, 1); });
    MessageRecorder recorder;
    Cjpeg jpeg;
    ASSERT_TRUE(jpeg.loadImage(good.c_str()));
    EXPECT_FALSE(jpeg.loadImage(bad.c_str()));
    EXPECT_EQ(jpeg.data, nullptr);
    EXPECT_TRUE(jpeg.loadImage(good.c_str()));
    expectNear(jpeg.data.get(), kBlue);
}

}  // namespace
