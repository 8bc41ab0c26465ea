// The data-set generator's building blocks: the .ebr layout, mesh winding, blur, noise,
// distance shapes, text placement, the JPEG and Ogg writers and the mix processing.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "assets/jpeg.h"
#include "audio/offlinespectrum.h"
#include "canvas.h"
#include "ebrwriter.h"
#include "iconpictures.h"
#include "imagewriter.h"
#include "instruments.h"
#include "masterbus.h"
#include "meshbuilder.h"
#include "noise.h"
#include "oggwriter.h"
#include "painter.h"
#include "song.h"
#include "support/picturefiles.h"
#include "support/scratchdir.h"
#include "textrenderer.h"

namespace {

uint32_t readU32(const std::vector<unsigned char>& bytes, size_t at) {
    return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
           uint32_t(bytes[at + 3]) << 24;
}

float readFloat(const std::vector<unsigned char>& bytes, size_t at) {
    const uint32_t bits = readU32(bytes, at);
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}

}  // namespace

TEST(EbrWriter, OneTriangleMeshHasTheDocumentedLayout) {
    CMeshBuilder mesh("tri1");
    mesh.addVertex(1, 2, 3, 0.25f, 0.75f);
    mesh.addVertex(4, 5, 6, 0, 0);
    mesh.addVertex(7, 8, 9, 1, 1);
    mesh.addTriangle(0, 2, 1);
    const std::vector<unsigned char> bytes = encodeEbr({mesh});
    ASSERT_EQ(bytes.size(), 4u + 88u);
    EXPECT_EQ(readU32(bytes, 0), 1u);   // meshes
    EXPECT_EQ(readU32(bytes, 4), 3u);   // vertices
    EXPECT_EQ(readU32(bytes, 8), 1u);   // triangles
    EXPECT_EQ(readU32(bytes, 12), 4u);  // name length, no terminating zero
    EXPECT_EQ(std::string(bytes.begin() + 16, bytes.begin() + 20), "tri1");
    const float first[5] = {1, 2, 3, 0.25f, 0.75f};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(readFloat(bytes, 20 + 4 * i), first[i]);
    EXPECT_EQ(readFloat(bytes, 20 + 40), 7.0f);  // third vertex's x
    EXPECT_EQ(readU32(bytes, 80), 0u);
    EXPECT_EQ(readU32(bytes, 84), 2u);
    EXPECT_EQ(readU32(bytes, 88), 1u);
}

TEST(EbrWriter, EmptyListIsJustACount) {
    const std::vector<unsigned char> bytes = encodeEbr({});
    ASSERT_EQ(bytes.size(), 4u);
    EXPECT_EQ(readU32(bytes, 0), 0u);
}

TEST(MeshBuilder, GridFacesTheSideWhereURunsRightAndVRunsUp) {
    struct SCase {
        float ax, ay, az, bx, by, bz;  // axes of u and v
    };
    const SCase cases[] = {{1, 0, 0, 0, 1, 0}, {0, 0, -1, 0, 1, 0}, {-1, 0, 0, 0, 0, 1}};
    for (const SCase& c : cases) {
        CMeshBuilder mesh("grid");
        mesh.addGrid(3, 2, [&](float u, float v) {
            return SMeshVertex{c.ax * u + c.bx * v, c.ay * u + c.by * v, c.az * u + c.bz * v, u, v};
        });
        ASSERT_EQ(mesh.vertices().size(), 12u);
        ASSERT_EQ(mesh.triangleCount(), 12u);
        const float nx = c.ay * c.bz - c.az * c.by, ny = c.az * c.bx - c.ax * c.bz,
                    nz = c.ax * c.by - c.ay * c.bx;
        for (size_t t = 0; t < mesh.triangleCount(); ++t) {
            const SMeshVertex& a = mesh.vertices()[mesh.indices()[3 * t]];
            const SMeshVertex& b = mesh.vertices()[mesh.indices()[3 * t + 1]];
            const SMeshVertex& d = mesh.vertices()[mesh.indices()[3 * t + 2]];
            const float ex = b.x - a.x, ey = b.y - a.y, ez = b.z - a.z;
            const float fx = d.x - a.x, fy = d.y - a.y, fz = d.z - a.z;
            const float cross[3] = {ey * fz - ez * fy, ez * fx - ex * fz, ex * fy - ey * fx};
            EXPECT_GT(cross[0] * nx + cross[1] * ny + cross[2] * nz, 0.0f) << "triangle " << t;
        }
    }
}

TEST(Blur, KeepsTheTotalAndSpreadsAnImpulseByAboutSigma) {
    CMask mask(101, 101);
    mask.at(50, 50) = 1.0f;
    mask.blur(6.0f);
    double total = 0, variance = 0;
    for (int y = 0; y < 101; ++y)
        for (int x = 0; x < 101; ++x) {
            total += mask.at(x, y);
            variance += mask.at(x, y) * (x - 50) * (x - 50);
        }
    EXPECT_NEAR(total, 1.0, 1e-4);
    EXPECT_NEAR(std::sqrt(variance / total), 6.0, 0.6);
    EXPECT_NEAR(mask.at(50, 50), mask.at(50, 50), 0);
    EXPECT_FLOAT_EQ(mask.at(45, 50), mask.at(55, 50));  // symmetric
}

TEST(Blur, WrappingCarriesLightAcrossTheEdgeOfATile) {
    CMask wrapped(64, 64), clipped(64, 64);
    for (int y = 0; y < 64; ++y) wrapped.at(0, y) = clipped.at(0, y) = 1.0f;
    wrapped.blur(3.0f, true);
    clipped.blur(3.0f, false);
    EXPECT_NEAR(wrapped.at(63, 32), wrapped.at(1, 32), 1e-5);
    EXPECT_GT(wrapped.at(63, 32), 0.05f);
    EXPECT_LT(clipped.at(63, 32), 1e-6f);
}

TEST(Noise, PeriodicNoiseRepeatsAndDiffersBySeed) {
    const CNoise a(5), b(6);
    float difference = 0;
    for (float x = 0.1f; x < 4; x += 0.37f) {
        for (float y = 0.2f; y < 4; y += 0.41f) {
            EXPECT_NEAR(a.at(x, y, 4), a.at(x + 4, y, 4), 1e-5);
            EXPECT_NEAR(a.at(x, y, 4), a.at(x, y - 4, 4), 1e-5);
            EXPECT_NEAR(a.fbm(x, y, 3, 4), a.fbm(x + 4, y + 4, 3, 4), 1e-4);
            EXPECT_LE(std::abs(a.at(x, y)), 1.5f);
            difference += std::abs(a.at(x, y) - b.at(x, y));
        }
    }
    EXPECT_GT(difference, 1.0f);
}

TEST(Painter, DistanceShapesAreNegativeInsideAndZeroOnTheEdge) {
    struct SCase {
        const char* name;
        std::function<float(float, float)> d;
        float insideX, insideY, edgeX, edgeY, outsideX, outsideY;
    };
    const SCase cases[] = {
        {"circle", [](float x, float y) { return paint::circle(x, y, 10, 10, 5); }, 10, 10, 15, 10,
         16, 16},
        {"box", [](float x, float y) { return paint::box(x, y, 0, 0, 4, 2); }, 1, 1, 4, 0, 0, 3},
        {"hexagon corner", [](float x, float y) { return paint::polygon(x, y, 0, 0, 10, 6, 0); }, 0,
         0, 10, 0, 11, 0},
        {"hexagon edge", [](float x, float y) { return paint::polygon(x, y, 0, 0, 10, 6, 0); }, 0,
         1, 10 * std::cos(0.5236f) * std::cos(0.5236f), 10 * std::cos(0.5236f) * std::sin(0.5236f),
         0, 9.5f},
        {"triangle", [](float x, float y) { return paint::polygon(x, y, 0, 0, 10, 3, 0); }, 1, 0,
         -5, 0, -6, 0},
        {"segment", [](float x, float y) { return paint::segment(x, y, 0, 0, 10, 0) - 1; }, 5, 0, 5,
         1, 12, 0},
    };
    for (const SCase& c : cases) {
        EXPECT_LT(c.d(c.insideX, c.insideY), 0.0f) << c.name;
        EXPECT_NEAR(c.d(c.edgeX, c.edgeY), 0.0f, 1e-3) << c.name;
        EXPECT_GT(c.d(c.outsideX, c.outsideY), 0.0f) << c.name;
    }
}

TEST(TextRenderer, CentredTextIsInkedAroundItsCentre) {
    CTextRenderer font(fontPath("DejaVuSans-Bold.ttf"));
    ASSERT_TRUE(font.ok());
    EXPECT_GT(font.measure("WWW", 40), font.measure("iii", 40));
    EXPECT_NEAR(font.measure("ab", 40, 10), font.measure("ab", 40) + 10, 0.01);
    CMask mask(400, 100);
    font.drawCentred(mask, "demo", 150, 70, 40);
    double ink = 0, sumX = 0, sumY = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 400; ++x) {
            ink += mask.at(x, y);
            sumX += mask.at(x, y) * x;
            sumY += mask.at(x, y) * y;
        }
    ASSERT_GT(ink, 100.0);
    EXPECT_NEAR(sumX / ink, 150.0, 6.0);
    EXPECT_LT(sumY / ink, 70.0);  // letters stand on the baseline
    EXPECT_GT(sumY / ink, 40.0);
}

TEST(TextRenderer, MissingFontDrawsNothing) {
    CTextRenderer font("/nonexistent/font.ttf");
    EXPECT_FALSE(font.ok());
    CMask mask(50, 50);
    font.draw(mask, "x", 10, 40, 20);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 50; ++x) ASSERT_EQ(mask.at(x, y), 0.0f);
}

TEST(Canvas, EightBitOutputClampsAndSaturatesSoftly) {
    CCanvas canvas(4, 1);
    canvas.set(0, 0, {-1.0f, 0.0f, 0.5f});
    canvas.set(1, 0, {0.8f, 1.0f, 5.0f});
    const std::vector<uint8_t> bytes = canvas.toRgb8();
    ASSERT_EQ(bytes.size(), 12u);
    EXPECT_EQ(bytes[0], 0);
    EXPECT_EQ(bytes[2], 128);
    EXPECT_EQ(bytes[3], 204);  // linear up to 0.8
    EXPECT_LT(bytes[4], 255);  // 1.0 is not yet full white
    EXPECT_GT(bytes[4], 204);
    EXPECT_GE(bytes[5], 254);  // far past it is
}

TEST(ImageWriter, JpegDecodesBackAtItsSizeAndColours) {
    const int w = 32, h = 16;
    std::vector<uint8_t> rgb(w * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = &rgb[(y * w + x) * 3];
            p[0] = y < h / 2 ? 220 : 20;  // red top half
            p[1] = 40;
            p[2] = y < h / 2 ? 30 : 200;  // blue bottom half
        }
    const std::string path = tempPath("writer.jpg");
    ASSERT_TRUE(writeJpeg(path, w, h, rgb, 92));
    // Back through the program's own loader, whose rows run bottom-up.
    Cjpeg jpeg;
    ASSERT_TRUE(jpeg.loadImage(path.c_str()));
    EXPECT_EQ(jpeg.width, w);
    EXPECT_EQ(jpeg.height, h);
    ASSERT_EQ(jpeg.bitsPerPixel, 24);
    const std::vector<uint8_t> top(jpeg.data.get() + (h - 3) * jpeg.rowSize,
                                   jpeg.data.get() + (h - 2) * jpeg.rowSize);
    const std::vector<uint8_t> bottom(jpeg.data.get() + 2 * jpeg.rowSize,
                                      jpeg.data.get() + 3 * jpeg.rowSize);
    EXPECT_NEAR(top[3 * 10], 220, 12);
    EXPECT_NEAR(top[3 * 10 + 2], 30, 12);
    EXPECT_NEAR(bottom[3 * 10], 20, 12);
    EXPECT_NEAR(bottom[3 * 10 + 2], 200, 12);
}

TEST(ImageWriter, RefusesTooFewPixels) {
    EXPECT_FALSE(writeJpeg(tempPath("short.jpg"), 8, 8, std::vector<uint8_t>(10), 90));
    EXPECT_FALSE(writePng(tempPath("short.png"), 8, 8, std::vector<uint8_t>(10)));
}

namespace {

uint32_t readU32BigEndian(const Bytes& bytes, size_t at) {
    return uint32_t(bytes[at]) << 24 | uint32_t(bytes[at + 1]) << 16 |
           uint32_t(bytes[at + 2]) << 8 | uint32_t(bytes[at + 3]);
}

double meanLight(const CCanvas& canvas) {
    double sum = 0;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) {
            const SColor c = canvas.at(x, y);
            sum += c.r + c.g + c.b;
        }
    return sum / (canvas.width() * canvas.height());
}

}  // namespace

// Every hicolor size is an RGBA PNG of that size in its folder, clear at the corners and solid
// in the middle, and as bright on the whole as the largest: each pixel is the mean of the art
// it covers, where sampling would miss or double the sun's thin stripes.
TEST(Icons, EverySizeIsARoundedTileAsBrightAsTheLargest) {
    const std::string dir = tempPath("icons");
    std::string error;
    ASSERT_TRUE(iconpictures::writeAll(dir, error)) << error;
    const double largest = meanLight(iconpictures::colour(iconpictures::sizes().back()));
    for (int size : iconpictures::sizes()) {
        const std::string side = std::to_string(size);
        const Bytes png = readBytes(dir + "/" + side + "x" + side + "/apps/vexmoro.png");
        ASSERT_GT(png.size(), 26u) << size;
        EXPECT_EQ(readU32BigEndian(png, 16), uint32_t(size));
        EXPECT_EQ(readU32BigEndian(png, 20), uint32_t(size));
        EXPECT_EQ(png[25], 6) << size << ": not RGBA";
        const CMask tile = iconpictures::coverage(size);
        EXPECT_LT(tile.at(0, 0), 0.05f) << size;
        EXPECT_LT(tile.at(size - 1, size - 1), 0.05f) << size;
        EXPECT_EQ(tile.at(size / 2, size / 2), 1.0f) << size;
        EXPECT_EQ(tile.at(0, size / 2), 1.0f) << size;
        EXPECT_NEAR(meanLight(iconpictures::colour(size)), largest, largest * 0.02) << size;
    }
}

TEST(MasterBus, LimiterHoldsTheCeilingAndLeavesQuietPassagesAlone) {
    CStereoTrack track(sampleAt(1.0));
    for (size_t i = 0; i < track.size(); ++i) {
        const float loud = i > sampleAt(0.5) && i < sampleAt(0.6) ? 3.0f : 0.2f;
        track.left[i] = loud * std::sin(i * 0.05f);
        track.right[i] = -track.left[i];
    }
    const float quietBefore = track.left[sampleAt(0.2)];
    masterbus::limit(track, 0.9f);
    EXPECT_LE(masterbus::peak(track), 0.9f);
    EXPECT_EQ(track.left[sampleAt(0.2)], quietBefore);
    EXPECT_GT(masterbus::peak(track), 0.85f);  // the loud part is lowered, not silenced
}

TEST(MasterBus, DuckingDipsAfterEachKickAndRecovers) {
    CStereoTrack track(sampleAt(1.0));
    for (size_t i = 0; i < track.size(); ++i) track.left[i] = track.right[i] = 1.0f;
    masterbus::duck(track, {{0.25, 0.8f}}, 1.0f, 0.05f);
    EXPECT_EQ(track.left[sampleAt(0.2)], 1.0f);
    EXPECT_NEAR(track.left[sampleAt(0.255)], 0.2f + 0.8f * (1 - std::exp(-0.005f / 0.05f)), 0.02f);
    EXPECT_NEAR(track.left[sampleAt(0.6)], 1.0f, 1e-3);
}

TEST(MasterBus, FadeOutEndsInSilence) {
    CStereoTrack track(sampleAt(2.0));
    for (size_t i = 0; i < track.size(); ++i) track.left[i] = track.right[i] = 0.5f;
    masterbus::fadeOut(track, 0.5, 1.5);
    EXPECT_EQ(track.left[sampleAt(0.4)], 0.5f);
    EXPECT_NEAR(track.left[sampleAt(1.0)], 0.25f, 0.01f);
    EXPECT_EQ(track.right[sampleAt(1.7)], 0.0f);
}

TEST(OggWriter, SineComesBackAtItsLevelAndInItsBinWithTheFixedSerial) {
    // 172.27 Hz lies on bin 2; a sine of amplitude a reads a / 2 through the Hann window.
    CStereoTrack track(sampleAt(1.0));
    for (size_t i = 0; i < track.size(); ++i)
        track.left[i] = track.right[i] =
            0.5f * std::sin(2 * 3.14159265 * 2 * 44100.0 / 512 * i / 44100.0);
    const std::string path = tempPath("sine.ogg");
    ASSERT_TRUE(writeOgg(path, track, 0.5f, "test"));
    std::ifstream file(path, std::ios::binary);
    std::vector<unsigned char> head(64);
    file.read(reinterpret_cast<char*>(head.data()), 64);
    ASSERT_EQ(std::string(head.begin(), head.begin() + 4), "OggS");
    EXPECT_EQ(readU32(head, 14), uint32_t(kOggSerial));
    const SDecodedOgg decoded = decodeOggPeak(path);
    ASSERT_TRUE(decoded.ok);
    EXPECT_NEAR(decoded.seconds, 1.0, 0.001);
    EXPECT_NEAR(decoded.peak, 0.5f, 0.03f);
    COfflineSpectrum spectrum;
    ASSERT_TRUE(spectrum.open(path));
    float bins[256];
    spectrum.compute(0.5, bins);
    EXPECT_NEAR(bins[2], 0.25f, 0.02f);
    EXPECT_LT(bins[0], 0.02f);
    EXPECT_LT(bins[5], 0.02f);
}

TEST(Song, SceneChangesFallOnBarLines) {
    const std::pair<double, int> changes[] = {{50.6, 32}, {101.1, 64}, {126.4, 80}, {177.0, 112}};
    for (const auto& change : changes)
        EXPECT_NEAR(CSong::at(change.second), change.first, 0.05) << change.first;
    EXPECT_NEAR(60.0 / (CSong::kBar / 4), 151.9, 0.1);  // beats per minute
    EXPECT_GE(CSong::kLength, 209.2 + 2.0);
}

TEST(Instruments, KickSettlesBetween45And60Hertz) {
    CStereoTrack track(sampleAt(0.6));
    instruments::kick(track, 0.0, 0.9f);
    // Time the zero crossings over the body, after the pitch sweep has settled.
    std::vector<size_t> crossings;
    for (size_t i = sampleAt(0.08) + 1; i < sampleAt(0.25); ++i)
        if ((track.left[i - 1] < 0) != (track.left[i] < 0)) crossings.push_back(i);
    ASSERT_GE(crossings.size(), 4u);
    const double span = double(crossings.back() - crossings.front()) / kSampleRate;
    const double hertz = (crossings.size() - 1) / 2.0 / span;
    EXPECT_GE(hertz, 45.0);
    EXPECT_LE(hertz, 60.0);
    EXPECT_LE(masterbus::peak(track), 0.9f * 1.1f);
    EXPECT_EQ(track.left[sampleAt(0.55)], 0.0f);  // over before the next beat but one
}

TEST(Instruments, SameNoteGivesTheSameSamples) {
    CStereoTrack a(sampleAt(1.0)), b(sampleAt(1.0));
    const instruments::SNote note{0.1, 0.3, 57.0f, 0.5f};
    instruments::lead(a, note);
    instruments::lead(b, note);
    instruments::pad(a, 0.2, 0.4, {57, 60, 64}, 0.3f, 800.0f, 1600.0f);
    instruments::pad(b, 0.2, 0.4, {57, 60, 64}, 0.3f, 800.0f, 1600.0f);
    EXPECT_TRUE(a.left == b.left && a.right == b.right);
    EXPECT_EQ(a.left[sampleAt(0.09)], 0.0f);  // nothing before the note
    EXPECT_GT(masterbus::peak(a), 0.05f);
}
