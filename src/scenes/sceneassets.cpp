#include "scenes/sceneassets.h"

CTexture* loadTexture(const char* path) {
    CTexture* texture = new CTexture();
    texture->load(path);
    return texture;
}

CTexture* emptyTexture(int size) {
    CTexture* texture = new CTexture();
    texture->createEmpty(size);
    return texture;
}

// The normals are computed before the reflection, so they keep facing the way the outside did,
// which after it is inward.
CEGLBrush* loadInsideOut(const char* path, float factor) {
    CEGLBrush* brush = new CEGLBrush();
    brush->loadFromFile(path);
    if (brush->meshCount > 0) {
        CEGLMesh* mesh = brush->meshes[0];
        mesh->scale(factor);
        mesh->calcNormals();
        mesh->negateVertices();
    }
    return brush;
}
