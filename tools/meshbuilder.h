// One named mesh being built for an .ebr file: positions with texture coordinates and
// counter-clockwise triangles (front faces). Knows nothing about files or drawing.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct SMeshVertex {
    float x, y, z;
    float s, t;
};

class CMeshBuilder {
public:
    explicit CMeshBuilder(const std::string& name) : meshName(name) {}

    const std::string& name() const { return meshName; }
    const std::vector<SMeshVertex>& vertices() const { return vertexList; }
    const std::vector<uint32_t>& indices() const { return indexList; }  // three per triangle
    size_t triangleCount() const { return indexList.size() / 3; }

    uint32_t addVertex(float x, float y, float z, float s, float t);
    // Corners a, b, c counter-clockwise as seen from the front.
    void addTriangle(uint32_t a, uint32_t b, uint32_t c);
    // A grid of (columns + 1) x (rows + 1) vertices from corner(u, v) with u, v in 0..1; the
    // triangles face the side from which u runs right and v runs up.
    void addGrid(int columns, int rows, const std::function<SMeshVertex(float u, float v)>& corner);

    // The loader mirrors s (it stores 1 - s), so meshes that want texture coordinate u store 1 - u.
    static float fileS(float u) { return 1.0f - u; }

private:
    std::string meshName;
    std::vector<SMeshVertex> vertexList;
    std::vector<uint32_t> indexList;
};
