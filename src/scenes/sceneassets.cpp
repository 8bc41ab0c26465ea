#include "scenes/sceneassets.h"

std::unique_ptr<CTexture> loadTexture(const char* path) {
    auto texture = std::make_unique<CTexture>();
    texture->load(path);
    return texture;
}

std::unique_ptr<CTexture> emptyTexture(int size) {
    auto texture = std::make_unique<CTexture>();
    texture->createEmpty(size);
    return texture;
}

// The normals are computed before the reflection, so they keep facing the way the outside did,
// which after it is inward.
std::unique_ptr<CEGLBrush> loadInsideOut(const char* path, float factor) {
    auto brush = std::make_unique<CEGLBrush>();
    brush->loadFromFile(path);
    if (brush->meshCount > 0) {
        CEGLMesh& mesh = *brush->meshes[0];
        mesh.scale(factor);
        mesh.calcNormals();
        mesh.negateVertices();
    }
    return brush;
}
