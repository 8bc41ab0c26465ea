// One mesh of an .ebr file: its arrays, per-vertex normals, simple transforms and drawing from
// client-side vertex arrays. Loading is CEGLBrush's; the mesh sets no GL state of its own apart
// from the outlined pass. Drawing and setTexture need a current GL context.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "math/vector.h"

class CTexture;

class CEGLMesh {
public:
    CEGLMesh();
    ~CEGLMesh();
    CEGLMesh(const CEGLMesh&) = delete;
    CEGLMesh& operator=(const CEGLMesh&) = delete;

    // Allocates every array for the given counts; the loader fills them.
    void allocate(int vertexCnt, int triangleCnt);

    // Area-weighted vertex normals from scratch; a vertex with no area around it gets (0, 0, 0).
    void calcNormals();
    void scale(float factor);
    // Reflects the surface through the origin and leaves the normals as they were.
    void negateVertices();
    void draw();
    void drawImmediate();
    // Leaves back faces culled, back faces in line mode and the current colour black.
    void drawOutlined(float lineWidth);
    void texCoordsFromNormals();
    // The mesh keeps its own CTexture naming tex's GL texture; the name stays tex's to release.
    void setTexture(const CTexture& tex);

    // Sized by the counts below; vertices, triangles, normals and texCoords go to GL as they are.
    std::unique_ptr<CVector[]> vertices;
    std::unique_ptr<std::uint32_t[][3]> triangles;
    std::unique_ptr<CVector[]> normals;
    std::unique_ptr<float[][2]> texCoords;
    std::unique_ptr<float[]> vertexDistances;
    std::unique_ptr<CVector[]> vertexAngles;
    std::unique_ptr<CVector[]> basePositions;
    std::unique_ptr<CTexture> texture;
    int vertexCount;
    int triangleCount;
    int normalCount;
    int texCoordCount;
    std::string name;
};
