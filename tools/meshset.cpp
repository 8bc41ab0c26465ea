#include "meshset.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>

#include "ebrwriter.h"

namespace meshset {

namespace {

const float kPi = 3.14159265f;

struct SVec {
    float x, y, z;
};
SVec operator+(SVec a, SVec b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
SVec operator*(SVec a, float f) {
    return {a.x * f, a.y * f, a.z * f};
}
float dot(SVec a, SVec b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
SVec cross(SVec a, SVec b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
SVec normalised(SVec a) {
    return a * (1.0f / std::sqrt(dot(a, a)));
}

// A cube face: outward normal n and in-face axes a (u, rightward) and b (v, upward), a x b = n.
struct SFace {
    SVec n, a, b;
};
const std::array<SFace, 6> kCubeFaces = {{
    {{1, 0, 0}, {0, 0, -1}, {0, 1, 0}},
    {{-1, 0, 0}, {0, 0, 1}, {0, 1, 0}},
    {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}},
    {{0, 0, -1}, {-1, 0, 0}, {0, 1, 0}},
    {{0, 1, 0}, {1, 0, 0}, {0, 0, -1}},
    {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}},
}};

}  // namespace

CMeshBuilder quad() {
    CMeshBuilder mesh("quad");
    // Front towards +z; the back on its own vertices, reading correctly from behind.
    mesh.addGrid(1, 1, [](float u, float v) {
        return SMeshVertex{-5 + 10 * u, -5 + 10 * v, 0, CMeshBuilder::fileS(u), v};
    });
    mesh.addGrid(1, 1, [](float u, float v) {
        return SMeshVertex{5 - 10 * u, -5 + 10 * v, 0, CMeshBuilder::fileS(u), v};
    });
    return mesh;
}

CMeshBuilder floor() {
    CMeshBuilder mesh("floor");
    // Front towards -z, so after the show's quarter turn about x it faces up.
    mesh.addGrid(16, 16, [](float u, float v) {
        return SMeshVertex{100 - 200 * u, -100 + 200 * v, 0, CMeshBuilder::fileS(u * 8), v * 8};
    });
    return mesh;
}

CMeshBuilder bicube() {
    CMeshBuilder mesh("bicube");
    const float half = 60.0f;
    for (const SFace& f : kCubeFaces) {
        mesh.addGrid(8, 8, [&](float u, float v) {
            const SVec p =
                f.n * half + f.a * ((u - 0.5f) * 2 * half) + f.b * ((v - 0.5f) * 2 * half);
            return SMeshVertex{p.x, p.y, p.z, CMeshBuilder::fileS(u), v};
        });
    }
    return mesh;
}

CMeshBuilder tunnel() {
    CMeshBuilder mesh("tunnel");
    // Around (u) the texture repeats 4 times, along (v) 8 times; faces point outward.
    mesh.addGrid(32, 60, [](float u, float v) {
        const float a = u * 2 * kPi;
        return SMeshVertex{kTunnelRadius * std::cos(a), kTunnelRadius * std::sin(a),
                           kTunnelNearZ + v * (kTunnelFarZ - kTunnelNearZ),
                           CMeshBuilder::fileS(u * 4), v * 8};
    });
    return mesh;
}

CMeshBuilder chamferBox() {
    CMeshBuilder mesh("chamferbox");
    const int n = 16;
    const float half = 25.0f, chamfer = 7.0f, inner = half - chamfer;
    // Points of a subdivided cube, shared along its edges through their lattice coordinates,
    // then cut back onto flat bevels: |d|_1 = chamfer around the inner box.
    std::map<std::array<int, 3>, uint32_t> shared;
    auto vertexAt = [&](const SFace& f, int i, int j) {
        const SVec lattice = f.n * float(n) + f.a * float(2 * i - n) + f.b * float(2 * j - n);
        const std::array<int, 3> key = {int(lattice.x), int(lattice.y), int(lattice.z)};
        auto found = shared.find(key);
        if (found != shared.end()) return found->second;
        const SVec p = lattice * (half / n);
        const SVec in{std::clamp(p.x, -inner, inner), std::clamp(p.y, -inner, inner),
                      std::clamp(p.z, -inner, inner)};
        const SVec d{p.x - in.x, p.y - in.y, p.z - in.z};
        const SVec q = in + d * (chamfer / (std::abs(d.x) + std::abs(d.y) + std::abs(d.z)));
        const uint32_t index = mesh.addVertex(
            q.x, q.y, q.z, CMeshBuilder::fileS(q.x / (2 * half) + 0.5f), q.y / (2 * half) + 0.5f);
        shared[key] = index;
        return index;
    };
    for (const SFace& f : kCubeFaces) {
        for (int j = 0; j < n; ++j) {
            for (int i = 0; i < n; ++i) {
                // One statement per corner: the vertex order must not depend on the compiler.
                const uint32_t a = vertexAt(f, i, j);
                const uint32_t b = vertexAt(f, i + 1, j);
                const uint32_t c = vertexAt(f, i + 1, j + 1);
                const uint32_t d = vertexAt(f, i, j + 1);
                mesh.addTriangle(a, b, c);
                mesh.addTriangle(a, c, d);
            }
        }
    }
    return mesh;
}

namespace {

// An icosahedron's corners (unit length) and its faces, each turned to face outward.
void icosahedron(std::vector<SVec>& corners, std::vector<std::array<uint32_t, 3>>& faces) {
    const float g = (1.0f + std::sqrt(5.0f)) / 2.0f;
    const float raw[12][3] = {{-1, g, 0}, {1, g, 0}, {-1, -g, 0}, {1, -g, 0},
                              {0, -1, g}, {0, 1, g}, {0, -1, -g}, {0, 1, -g},
                              {g, 0, -1}, {g, 0, 1}, {-g, 0, -1}, {-g, 0, 1}};
    for (const auto& c : raw) corners.push_back(normalised({c[0], c[1], c[2]}));
    const uint32_t list[20][3] = {{0, 11, 5}, {0, 5, 1},  {0, 1, 7},   {0, 7, 10}, {0, 10, 11},
                                  {1, 5, 9},  {5, 11, 4}, {11, 10, 2}, {10, 7, 6}, {7, 1, 8},
                                  {3, 9, 4},  {3, 4, 2},  {3, 2, 6},   {3, 6, 8},  {3, 8, 9},
                                  {4, 9, 5},  {2, 4, 11}, {6, 2, 10},  {8, 6, 7},  {9, 8, 1}};
    for (const auto& f : list) {
        std::array<uint32_t, 3> face = {f[0], f[1], f[2]};
        const SVec e1 = corners[f[1]] + corners[f[0]] * -1.0f,
                   e2 = corners[f[2]] + corners[f[0]] * -1.0f;
        if (dot(cross(e1, e2), corners[f[0]]) < 0) std::swap(face[1], face[2]);
        faces.push_back(face);
    }
}

// Splits every face in four, new corners pushed onto the unit sphere and shared by both faces.
void subdivide(std::vector<SVec>& corners, std::vector<std::array<uint32_t, 3>>& faces) {
    std::map<std::pair<uint32_t, uint32_t>, uint32_t> midpoints;
    auto midpoint = [&](uint32_t a, uint32_t b) {
        const auto key = std::make_pair(std::min(a, b), std::max(a, b));
        auto found = midpoints.find(key);
        if (found != midpoints.end()) return found->second;
        corners.push_back(normalised(corners[a] + corners[b]));
        return midpoints[key] = uint32_t(corners.size() - 1);
    };
    std::vector<std::array<uint32_t, 3>> finer;
    for (const auto& f : faces) {
        const uint32_t ab = midpoint(f[0], f[1]);
        const uint32_t bc = midpoint(f[1], f[2]);
        const uint32_t ca = midpoint(f[2], f[0]);
        finer.push_back({f[0], ab, ca});
        finer.push_back({ab, f[1], bc});
        finer.push_back({ca, bc, f[2]});
        finer.push_back({ab, bc, ca});
    }
    faces.swap(finer);
}

// Height of a cone-shaped spike towards `tip` at the direction n, 0 outside `width` radians.
float spike(SVec n, SVec tip, float width) {
    const float t = std::max(0.0f, (dot(n, tip) - std::cos(width)) / (1.0f - std::cos(width)));
    return std::pow(t, 1.6f);
}

}  // namespace

CMeshBuilder spikeSlime() {
    std::vector<SVec> corners;
    std::vector<std::array<uint32_t, 3>> faces;
    icosahedron(corners, faces);
    std::vector<SVec> bigTips(corners.begin(), corners.end()), smallTips;
    for (const auto& f : faces)
        for (int k = 0; k < 3; ++k)
            if (f[k] < f[(k + 1) % 3])
                smallTips.push_back(normalised(corners[f[k]] + corners[f[(k + 1) % 3]]));
    for (int level = 0; level < 4; ++level) subdivide(corners, faces);
    CMeshBuilder mesh("spikeslime");
    for (const SVec& n : corners) {
        float big = 0.0f, small = 0.0f;
        for (const SVec& tip : bigTips) big = std::max(big, spike(n, tip, 0.34f));
        for (const SVec& tip : smallTips) small = std::max(small, spike(n, tip, 0.2f));
        const SVec p = n * (26.0f + 38.0f * big + 18.0f * small);
        const float s = std::atan2(n.z, n.x) / (2 * kPi) + 0.5f,
                    t = std::acos(std::clamp(n.y, -1.0f, 1.0f)) / kPi;
        mesh.addVertex(p.x, p.y, p.z, CMeshBuilder::fileS(s), 1.0f - t);
    }
    for (const auto& f : faces) mesh.addTriangle(f[0], f[1], f[2]);
    return mesh;
}

std::vector<std::pair<std::string, CMeshBuilder (*)()>> all() {
    return {{"quad.ebr", quad},     {"floor.ebr", floor},
            {"bicube.ebr", bicube}, {"spikeslime.ebr", spikeSlime},
            {"tunnel.ebr", tunnel}, {"chamferbox.ebr", chamferBox}};
}

bool writeAll(const std::string& dir, std::string& error) {
    for (const auto& entry : all()) {
        if (!writeEbr(dir + "/" + entry.first, {entry.second()})) {
            error = "cannot write " + dir + "/" + entry.first;
            return false;
        }
    }
    return true;
}

}  // namespace meshset
