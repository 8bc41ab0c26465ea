// Immediate-mode vertices gathered into one buffer: every glBegin/glEnd pair of quads or
// triangles adds its polygons, and a batch is drawn in one call once the state changes. Turns
// the polygons into triangles or, for polygons drawn as lines, into their edges. Holds a fixed
// amount, chosen once, so that drawing allocates nothing. No GL; any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct SVertex {
    float position[3];
    float normal[3];
    float colour[4];
    float texCoord[2];
};

class CVertexBatch {
public:
    static constexpr uint32_t kTriangle[3] = {0, 1, 2};
    static constexpr uint32_t kQuadTriangles[6] = {0, 1, 3, 1, 2, 3};

    // Room for this many vertices; indices take twice as many entries, enough for edges.
    explicit CVertexBatch(size_t capacity);

    // mode: 0x0004 (GL_TRIANGLES) or 0x0007 (GL_QUADS); false for any other.
    bool begin(uint32_t mode);
    // False, adding nothing, when the batch is full: draw it, clear it and add again.
    bool add(const SVertex& vertex);
    // Keeps the whole polygons given since begin; a trailing incomplete one is dropped, as GL does.
    void end();

    bool empty() const { return polygonCount == 0; }
    // Whether some polygon has corners of different colours.
    bool coloursDiffer() const { return differ; }
    // Forgets the polygons drawn; inside begin/end the polygon being given is kept.
    void clear();

    // Fills the index list with three indices a triangle (a quad as 0 1 3, 1 2 3, the diagonal
    // the fixed-function renderer cuts it along) or two an edge, for the polygons `keep` accepts;
    // returns how many indices. keep(i) gets polygon i's first vertex index and size.
    template <typename Keep>
    size_t triangles(Keep keep);
    template <typename Keep>
    size_t edges(Keep keep);

    const SVertex* vertexData() const { return vertices.data(); }
    size_t vertexCount() const { return used; }
    const uint32_t* indexData() const { return indices.data(); }

private:
    struct SPolygon {
        uint32_t first;
        uint32_t size;
    };

    std::vector<SVertex> vertices;
    std::vector<SPolygon> polygons;
    std::vector<uint32_t> indices;
    size_t used = 0;
    size_t polygonCount = 0;
    uint32_t polygonSize = 0;  // of the primitive begun, 0 outside begin/end
    size_t primitiveStart = 0;
    bool differ = false;
};

template <typename Keep>
size_t CVertexBatch::triangles(Keep keep) {
    size_t n = 0;
    for (size_t p = 0; p < polygonCount; ++p) {
        const SPolygon& polygon = polygons[p];
        if (!keep(polygon.first, polygon.size)) continue;
        const uint32_t* corners = polygon.size == 4 ? kQuadTriangles : kTriangle;
        for (uint32_t k = 0; k < (polygon.size == 4 ? 6u : 3u); ++k)
            indices[n++] = polygon.first + corners[k];
    }
    return n;
}

template <typename Keep>
size_t CVertexBatch::edges(Keep keep) {
    size_t n = 0;
    for (size_t p = 0; p < polygonCount; ++p) {
        const SPolygon& polygon = polygons[p];
        if (!keep(polygon.first, polygon.size)) continue;
        for (uint32_t k = 0; k < polygon.size; ++k) {
            indices[n++] = polygon.first + k;
            indices[n++] = polygon.first + (k + 1) % polygon.size;
        }
    }
    return n;
}
