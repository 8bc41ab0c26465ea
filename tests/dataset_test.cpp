// The data set the build makes beside the program: every picture decodes at its size and
// keeps its content where the show can see it, every mesh has the shape its scene needs,
// the music is long enough and drives the scenes as they expect, and a second run of the
// generator gives the same bytes.
#include <gtest/gtest.h>

#include <vorbis/vorbisfile.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include <iostream>

#include "assets/eglbrush.h"
#include "assets/jpeg.h"
#include "assets/texture.h"
#include "audio/offlinespectrum.h"
#include "core/show.h"
#include "musicfigures.h"
#include "oggwriter.h"
#include "support/glfixture.h"
#include "support/scratchdir.h"

namespace {

const std::string kData = VEXMORO_DATA_DIR;
const std::string kMusic = kData + "/music/" + kMusicFile;

// Every picture the show loads, with its width and height.
const std::pair<const char*, int> kPictures[] = {
    {"loading.jpg", 512},
    {"logo.jpg", 512},
    {"nor04.jpg", 512},
    {"title.jpg", 512},
    {"music.jpg", 256},
    {"coding.jpg", 256},
    {"tolvi.jpg", 256},
    {"brisel.jpg", 256},
    {"quander.jpg", 256},
    {"particle.jpg", 64},
    {"ruter2.jpg", 256},
    {"floortex.jpg", 256},
    {"overlay_greet.jpg", 512},
    {"roomtex.jpg", 256},
    {"spikebase.jpg", 256},
    {"sv.jpg", 256},
    {"test2.jpg", 256},
    {"jente.jpg", 256},
    {"gutt.jpg", 256},
    {"ruter.jpg", 256},
    {"sv2.jpg", 256},
    {"overlay_on.jpg", 512},
    {"bg.jpg", 512},
    {"end.jpg", 512},
};

// A picture as the program's loader decodes it, read top row first for these checks.
struct SPicture {
    int width = 0, height = 0, bits = 0;
    std::vector<uint8_t> rgb;  // bottom row first, as decoded
    int at(int x, int y, int c) const { return rgb[(size_t(height - 1 - y) * width + x) * 3 + c]; }
    int brightest(int x, int y) const { return std::max({at(x, y, 0), at(x, y, 1), at(x, y, 2)}); }
};

SPicture decodeJpeg(const std::string& path) {
    SPicture picture;
    Cjpeg jpeg;
    if (!jpeg.loadImage(path.c_str()) || !jpeg.data) return picture;
    picture.width = jpeg.width;
    picture.height = jpeg.height;
    picture.bits = jpeg.bitsPerPixel;
    if (jpeg.bitsPerPixel == 24)
        picture.rgb.assign(jpeg.data.get(), jpeg.data.get() + size_t(jpeg.rowSize) * jpeg.height);
    return picture;
}

struct SVec {
    double x, y, z;
};
SVec sub(SVec a, SVec b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
SVec cross(SVec a, SVec b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double dot(SVec a, SVec b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
double length(SVec a) {
    return std::sqrt(dot(a, a));
}

// The first mesh of a file as CEGLBrush loads it, positions in double for the checks.
struct SMesh {
    std::string name;
    int meshCount = 0;
    std::vector<SVec> positions;
    std::vector<std::array<float, 2>> st;  // as loaded: (1 - s, t) of the file
    std::vector<std::array<uint32_t, 3>> triangles;
    SVec normal(size_t t) const {
        const auto& tri = triangles[t];
        return cross(sub(positions[tri[1]], positions[tri[0]]),
                     sub(positions[tri[2]], positions[tri[0]]));
    }
    SVec centre(size_t t) const {
        const auto& tri = triangles[t];
        SVec c{0, 0, 0};
        for (uint32_t i : tri)
            c = {c.x + positions[i].x / 3, c.y + positions[i].y / 3, c.z + positions[i].z / 3};
        return c;
    }
};

SMesh loadMesh(const std::string& file) {
    SMesh mesh;
    CEGLBrush brush;
    if (!brush.loadFromFile((kData + "/objects/" + file).c_str()) || brush.meshCount < 1)
        return mesh;
    const CEGLMesh& m = *brush.meshes[0];
    mesh.meshCount = brush.meshCount;
    mesh.name = m.name;
    for (int i = 0; i < m.vertexCount; ++i) {
        mesh.positions.push_back({m.vertices[i].x, m.vertices[i].y, m.vertices[i].z});
        mesh.st.push_back({m.texCoords[i][0], m.texCoords[i][1]});
    }
    for (int t = 0; t < m.triangleCount; ++t)
        mesh.triangles.push_back({m.triangles[t][0], m.triangles[t][1], m.triangles[t][2]});
    return mesh;
}

// True when, with corners welded by position, every edge is shared by exactly two triangles
// that run along it in opposite directions.
bool closedAndConsistent(const SMesh& mesh) {
    std::map<std::array<long, 3>, size_t> welded;
    std::vector<size_t> id(mesh.positions.size());
    for (size_t i = 0; i < mesh.positions.size(); ++i) {
        const SVec& p = mesh.positions[i];
        const std::array<long, 3> key = {std::lround(p.x * 1000), std::lround(p.y * 1000),
                                         std::lround(p.z * 1000)};
        id[i] = welded.emplace(key, welded.size()).first->second;
    }
    std::map<std::pair<size_t, size_t>, int> edges;
    for (const auto& t : mesh.triangles)
        for (int k = 0; k < 3; ++k) ++edges[{id[t[k]], id[t[(k + 1) % 3]]}];
    for (const auto& e : edges) {
        auto reverse = edges.find({e.first.second, e.first.first});
        if (e.second != 1 || reverse == edges.end() || reverse->second != 1) return false;
    }
    return !edges.empty();
}

double signedVolume(const SMesh& mesh) {
    double volume = 0;
    for (const auto& t : mesh.triangles)
        volume +=
            dot(mesh.positions[t[0]], cross(mesh.positions[t[1]], mesh.positions[t[2]])) / 6.0;
    return volume;
}

double minDistance(const SMesh& mesh) {
    double d = 1e9;
    for (const SVec& p : mesh.positions) d = std::min(d, length(p));
    return d;
}

double maxDistance(const SMesh& mesh) {
    double d = 0;
    for (const SVec& p : mesh.positions) d = std::max(d, length(p));
    return d;
}

}  // namespace

TEST(DataSetPictures, EveryPictureDecodesAtItsSizeInColour) {
    for (const auto& entry : kPictures) {
        const SPicture picture = decodeJpeg(kData + "/textures/" + entry.first);
        EXPECT_EQ(picture.width, entry.second) << entry.first;
        EXPECT_EQ(picture.height, entry.second) << entry.first;
        ASSERT_EQ(picture.bits, 24) << entry.first;
        int brightest = 0;
        for (int y = 0; y < picture.height; ++y)
            for (int x = 0; x < picture.width; ++x)
                brightest = std::max(brightest, picture.brightest(x, y));
        EXPECT_GT(brightest, 150) << entry.first << " is nearly black";
    }
}

using DataSetTextures = GLFixture;

TEST_F(DataSetTextures, EveryPictureBecomesATextureOfItsSize) {
    for (const auto& entry : kPictures) {
        CTexture texture;
        ASSERT_TRUE(texture.load((kData + "/textures/" + entry.first).c_str())) << entry.first;
        GLint width = 0, height = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        EXPECT_EQ(width, entry.second) << entry.first;
        EXPECT_EQ(height, entry.second) << entry.first;
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(DataSetPictures, PicturesAddedOverBlackFadeToBlackAtTheirEdges) {
    // Anything bright at the border would show the square or a clipped word on screen.
    const char* pictures[] = {"loading.jpg",    "logo.jpg",         "nor04.jpg", "title.jpg",
                              "music.jpg",      "coding.jpg",       "tolvi.jpg", "brisel.jpg",
                              "quander.jpg",    "particle.jpg",     "bg.jpg",    "end.jpg",
                              "overlay_on.jpg", "overlay_greet.jpg"};
    for (const char* name : pictures) {
        const SPicture p = decodeJpeg(kData + "/textures/" + name);
        ASSERT_GT(p.width, 0) << name;
        int worst = 0;
        for (int i = 0; i < p.width; ++i)
            for (int ring = 0; ring < 2; ++ring)
                worst = std::max({worst, p.brightest(i, ring), p.brightest(i, p.height - 1 - ring),
                                  p.brightest(ring, i), p.brightest(p.width - 1 - ring, i)});
        EXPECT_LE(worst, 24) << name;
    }
}

TEST(DataSetPictures, TextStaysClearOfTheEdgesTheShowPushesOffScreen) {
    // The tunnel's text picture grows past the right edge of the screen, the greetings past the
    // top.
    const SPicture on = decodeJpeg(kData + "/textures/overlay_on.jpg");
    const SPicture greet = decodeJpeg(kData + "/textures/overlay_greet.jpg");
    ASSERT_EQ(on.width, 512);
    ASSERT_EQ(greet.width, 512);
    int rightTenth = 0, topRows = 0;
    for (int y = 0; y < 512; ++y)
        for (int x = 461; x < 512; ++x) rightTenth = std::max(rightTenth, on.brightest(x, y));
    for (int y = 0; y < 26; ++y)
        for (int x = 0; x < 512; ++x) topRows = std::max(topRows, greet.brightest(x, y));
    EXPECT_LE(rightTenth, 40);
    EXPECT_LE(topRows, 40);
}

TEST(DataSetPictures, SurfacePicturesTileWithoutSeams) {
    const char* pictures[] = {"ruter2.jpg", "floortex.jpg", "roomtex.jpg", "ruter.jpg", "sv2.jpg"};
    for (const char* name : pictures) {
        const SPicture p = decodeJpeg(kData + "/textures/" + name);
        ASSERT_EQ(p.width, 256) << name;
        // Across the wrap the picture may change no more than it does between neighbours inside.
        double inside = 0, acrossX = 0, acrossY = 0;
        for (int i = 0; i < 256; ++i)
            for (int c = 0; c < 3; ++c) {
                inside += std::abs(p.at(127, i, c) - p.at(128, i, c)) +
                          std::abs(p.at(i, 127, c) - p.at(i, 128, c));
                acrossX += std::abs(p.at(255, i, c) - p.at(0, i, c));
                acrossY += std::abs(p.at(i, 255, c) - p.at(i, 0, c));
            }
        const double typical = inside / 2 + 256 * 3 * 4.0;
        EXPECT_LE(acrossX, 2 * typical) << name;
        EXPECT_LE(acrossY, 2 * typical) << name;
    }
}

TEST(DataSetPictures, ParticleIsAWhiteCentreFadingToBlack) {
    const SPicture p = decodeJpeg(kData + "/textures/particle.jpg");
    ASSERT_EQ(p.width, 64);
    for (int c = 0; c < 3; ++c) EXPECT_GE(p.at(32, 32, c), 235);
    EXPECT_LE(p.brightest(0, 0), 3);
    EXPECT_LE(p.brightest(63, 32), 6);
    EXPECT_GT(p.brightest(32, 32), p.brightest(40, 32));
    EXPECT_GT(p.brightest(40, 32), p.brightest(50, 32));
}

TEST(DataSetMeshes, EveryFileHoldsOneNamedMeshWithValidTriangles) {
    for (const char* file : {"quad.ebr", "floor.ebr", "bicube.ebr", "spikeslime.ebr", "tunnel.ebr",
                             "chamferbox.ebr"}) {
        const SMesh mesh = loadMesh(file);
        ASSERT_FALSE(mesh.triangles.empty()) << file;
        EXPECT_EQ(mesh.meshCount, 1) << file;
        EXPECT_FALSE(mesh.name.empty()) << file;
        for (size_t t = 0; t < mesh.triangles.size(); ++t) {
            for (uint32_t i : mesh.triangles[t]) ASSERT_LT(i, mesh.positions.size()) << file;
            EXPECT_GT(length(mesh.normal(t)), 1e-6) << file << " triangle " << t << " has no area";
        }
    }
}

TEST(DataSetMeshes, ClosedMeshesAreWatertightAndFaceOutward) {
    for (const char* file : {"bicube.ebr", "spikeslime.ebr", "chamferbox.ebr"}) {
        const SMesh mesh = loadMesh(file);
        EXPECT_TRUE(closedAndConsistent(mesh)) << file;
        EXPECT_GT(signedVolume(mesh), 0.0) << file;
    }
}

TEST(DataSetMeshes, SlimeMeshesKeepClearOfTheCentreAndInView) {
    const SMesh spikes = loadMesh("spikeslime.ebr");
    const SMesh box = loadMesh("chamferbox.ebr");
    EXPECT_GE(minDistance(spikes), 10.0);
    EXPECT_GE(minDistance(box), 5.0);
    EXPECT_GE(spikes.positions.size(), 1500u);
    EXPECT_LE(spikes.positions.size(), 6000u);
    EXPECT_GE(box.positions.size(), 1000u);
    // Seen from (10, 10, 200) with a 45 degree view the half-height there is about 82 units,
    // and the bass pushes the object up to about 14 units off-centre.
    EXPECT_LE(maxDistance(spikes), 68.0);
    EXPECT_GT(maxDistance(spikes), 1.8 * minDistance(spikes));  // it has spikes
    double half = 0;
    for (const SVec& p : box.positions)
        half = std::max({half, std::abs(p.x), std::abs(p.y), std::abs(p.z)});
    EXPECT_NEAR(half, 25.0, 3.0);
    EXPECT_LT(maxDistance(box), half * std::sqrt(3.0) - 2.0);  // the corners are cut
}

TEST(DataSetMeshes, RoomCubeHoldsTheCameraWhateverItsTurn) {
    const SMesh cube = loadMesh("bicube.ebr");
    double nearest = 1e9;
    for (size_t t = 0; t < cube.triangles.size(); ++t) {
        const SVec n = cube.normal(t);
        nearest = std::min(nearest, dot(cube.centre(t), n) / length(n));  // plane distance
    }
    EXPECT_NEAR(nearest, 60.0, 5.0);
    EXPECT_GT(nearest * 5.0, length({10, 10, 200}) + 50.0);  // scaled by 5 in the show
    std::set<std::pair<float, float>> corners;
    for (const auto& st : cube.st)
        if ((st[0] == 0 || st[0] == 1) && (st[1] == 0 || st[1] == 1))
            corners.insert({st[0], st[1]});
    EXPECT_EQ(corners.size(), 4u);  // each face spans the whole picture
}

TEST(DataSetMeshes, TunnelIsAnOutwardTubeTheEyeStaysInside) {
    const SMesh tube = loadMesh("tunnel.ebr");
    ASSERT_FALSE(tube.positions.empty());
    double nearest = 1e9, zMin = 1e9, zMax = -1e9, tMin = 1e9, tMax = -1e9;
    for (size_t i = 0; i < tube.positions.size(); ++i) {
        const SVec& p = tube.positions[i];
        nearest = std::min(nearest, std::hypot(p.x, p.y));
        zMin = std::min(zMin, p.z);
        zMax = std::max(zMax, p.z);
        tMin = std::min<double>(tMin, tube.st[i][1]);
        tMax = std::max<double>(tMax, tube.st[i][1]);
    }
    for (size_t t = 0; t < tube.triangles.size(); ++t) {
        const SVec c = tube.centre(t), n = tube.normal(t);
        ASSERT_GT(n.x * c.x + n.y * c.y, 0.0) << "triangle " << t << " faces inward";
        ASSERT_LT(std::abs(n.z), 1e-3 * length(n));  // walls run along z
    }
    EXPECT_GT(nearest, 70.0 + 15.0);  // the eye swings 70 units off the axis
    // The show negates the tube and moves it by -200: z' = -z - 200. The eye travels z' 220..320
    // and must see the tube go on for more than 900 units ahead, where the fog ends.
    EXPECT_GT(-zMin - 200.0, 320.0 + 20.0);
    EXPECT_LT(-zMax - 200.0, 220.0 - 900.0);
    EXPECT_GE(tMax - tMin, 4.0);  // the walls' picture repeats along the tube
    EXPECT_FALSE(closedAndConsistent(tube));
}

TEST(DataSetMeshes, FloorFacesDownInTheFileSoItFacesUpInTheShow) {
    const SMesh floor = loadMesh("floor.ebr");
    ASSERT_FALSE(floor.triangles.empty());
    double xMin = 1e9, xMax = -1e9, sMin = 1e9, sMax = -1e9;
    for (size_t i = 0; i < floor.positions.size(); ++i) {
        EXPECT_EQ(floor.positions[i].z, 0.0);
        xMin = std::min(xMin, floor.positions[i].x);
        xMax = std::max(xMax, floor.positions[i].x);
        sMin = std::min<double>(sMin, floor.st[i][0]);
        sMax = std::max<double>(sMax, floor.st[i][0]);
    }
    for (size_t t = 0; t < floor.triangles.size(); ++t) ASSERT_LT(floor.normal(t).z, 0.0);
    EXPECT_NEAR(xMax - xMin, 200.0, 20.0);
    EXPECT_GE(sMax - sMin, 3.0);
}

TEST(DataSetMeshes, QuadIsTwoSidedOnSeparateVertices) {
    const SMesh quad = loadMesh("quad.ebr");
    std::set<uint32_t> front, back;
    for (size_t t = 0; t < quad.triangles.size(); ++t) {
        std::set<uint32_t>& side = quad.normal(t).z > 0 ? front : back;
        side.insert(quad.triangles[t].begin(), quad.triangles[t].end());
    }
    ASSERT_FALSE(front.empty());
    ASSERT_FALSE(back.empty());
    for (uint32_t i : front) EXPECT_EQ(back.count(i), 0u);
    double xMin = 1e9, xMax = -1e9;
    for (const SVec& p : quad.positions) {
        xMin = std::min(xMin, p.x);
        xMax = std::max(xMax, p.x);
        EXPECT_EQ(p.z, 0.0);
    }
    EXPECT_NEAR(xMax - xMin, 10.0, 1.0);
    // The picture reads upright from the front: its left edge carries s = 0 once loaded.
    for (uint32_t i : front) {
        if (quad.positions[i].x == xMin) {
            EXPECT_EQ(quad.st[i][0], 0.0f);
        }
    }
}

TEST(DataSetMusic, IsALongEnoughStereoTrackWithAFixedSerial) {
    OggVorbis_File file;
    ASSERT_EQ(ov_fopen(kMusic.c_str(), &file), 0);
    const vorbis_info* info = ov_info(&file, -1);
    EXPECT_EQ(info->rate, 44100);
    EXPECT_EQ(info->channels, 2);
    EXPECT_GE(ov_time_total(&file, -1), kShowEndTime);
    ov_clear(&file);
    std::ifstream raw(kMusic, std::ios::binary);
    unsigned char head[18] = {};
    raw.read(reinterpret_cast<char*>(head), 18);
    const uint32_t serial = head[14] | head[15] << 8 | head[16] << 16 | uint32_t(head[17]) << 24;
    EXPECT_EQ(std::string(head, head + 4), "OggS");
    EXPECT_EQ(serial, 0x76786d6fu);
}

TEST(DataSetMusic, DrivesTheScenesAsTheyExpect) {
    COfflineSpectrum spectrum;
    ASSERT_TRUE(spectrum.open(kMusic));
    const SDecodedOgg decoded = decodeOggPeak(kMusic);
    ASSERT_TRUE(decoded.ok);
    const SMusicFigures figures = measureMusic(
        [&](double t, float* bins) { spectrum.compute(t, bins); }, decoded.seconds, decoded.peak);
    std::cout << describe(figures);
    EXPECT_EQ(missedTargets(figures), "") << describe(figures);
}

// The second run goes to a folder of its own: runs of the suite side by side must not share it.
TEST(DataSetGenerator, ASecondRunGivesTheSameBytes) {
    const ScratchDir scratch("dataset");
    ASSERT_FALSE(scratch.path.empty());
    const std::filesystem::path again = scratch.path;
    const std::string command =
        std::string("\"") + VEXMORO_DATAGEN + "\" \"" + again.string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0);
    size_t compared = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(kData)) {
        if (!entry.is_regular_file() || entry.path().filename() == ".generated") continue;
        const std::filesystem::path relative = std::filesystem::relative(entry.path(), kData);
        std::ifstream a(entry.path(), std::ios::binary), b(again / relative, std::ios::binary);
        ASSERT_TRUE(b.good()) << relative << " missing from the second run";
        const std::string bytesA((std::istreambuf_iterator<char>(a)), {}),
            bytesB((std::istreambuf_iterator<char>(b)), {});
        EXPECT_TRUE(bytesA == bytesB) << relative << " differs";
        ++compared;
    }
    EXPECT_EQ(compared, 24u + 6u + 1u);
}
