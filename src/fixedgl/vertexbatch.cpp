#include "fixedgl/vertexbatch.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t kTriangles = 0x0004;
constexpr uint32_t kQuads = 0x0007;

}  // namespace

// A quad becomes six triangle indices and a polygon of n sides n edges of two: twice the
// vertices is always enough.
CVertexBatch::CVertexBatch(size_t capacity)
    : vertices(capacity), polygons(capacity / 3 + 1), indices(capacity * 2) {}

bool CVertexBatch::begin(uint32_t mode) {
    if (mode != kTriangles && mode != kQuads) return false;
    polygonSize = mode == kQuads ? 4 : 3;
    primitiveStart = used;
    return true;
}

bool CVertexBatch::add(const SVertex& vertex) {
    if (polygonSize == 0) return true;  // outside begin/end a vertex means nothing
    if (used == vertices.size()) return false;
    const size_t corner = (used - primitiveStart) % polygonSize;
    if (corner > 0 &&
        std::memcmp(vertex.colour, vertices[used - corner].colour, sizeof vertex.colour) != 0)
        differ = true;
    vertices[used++] = vertex;
    if ((used - primitiveStart) % polygonSize == 0)
        polygons[polygonCount++] = {static_cast<uint32_t>(used - polygonSize), polygonSize};
    return true;
}

void CVertexBatch::end() {
    if (polygonSize == 0) return;
    used -= (used - primitiveStart) % polygonSize;
    polygonSize = 0;
}

void CVertexBatch::clear() {
    size_t open = polygonSize == 0 ? 0 : (used - primitiveStart) % polygonSize;
    std::copy(vertices.begin() + (used - open), vertices.begin() + used, vertices.begin());
    used = open;
    primitiveStart = 0;
    polygonCount = 0;
    differ = false;
    for (size_t i = 1; i < open; ++i)
        differ = differ || std::memcmp(vertices[i].colour, vertices[0].colour,
                                       sizeof vertices[0].colour) != 0;
}
