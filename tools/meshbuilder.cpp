#include "meshbuilder.h"

uint32_t CMeshBuilder::addVertex(float x, float y, float z, float s, float t) {
    vertexList.push_back({x, y, z, s, t});
    return uint32_t(vertexList.size() - 1);
}

void CMeshBuilder::addTriangle(uint32_t a, uint32_t b, uint32_t c) {
    indexList.push_back(a);
    indexList.push_back(b);
    indexList.push_back(c);
}

void CMeshBuilder::addGrid(int columns, int rows,
                           const std::function<SMeshVertex(float u, float v)>& corner) {
    const uint32_t first = uint32_t(vertexList.size());
    for (int j = 0; j <= rows; ++j)
        for (int i = 0; i <= columns; ++i)
            vertexList.push_back(corner(float(i) / columns, float(j) / rows));
    auto at = [&](int i, int j) { return first + uint32_t(j * (columns + 1) + i); };
    for (int j = 0; j < rows; ++j) {
        for (int i = 0; i < columns; ++i) {
            addTriangle(at(i, j), at(i + 1, j), at(i + 1, j + 1));
            addTriangle(at(i, j), at(i + 1, j + 1), at(i, j + 1));
        }
    }
}
