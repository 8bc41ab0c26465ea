// A mesh file (.ebr) in memory: the meshes in file order, loaded whole or not at all, and the
// brush-wide drawing and wobble. Owns its meshes. Loading needs no GL; drawing needs a current
// GL context.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "assets/eglmesh.h"

class CEGLBrush {
public:
    CEGLBrush();
    ~CEGLBrush();
    CEGLBrush(const CEGLBrush&) = delete;
    CEGLBrush& operator=(const CEGLBrush&) = delete;

    // False with a message box when the file cannot be opened or is damaged; the brush then keeps
    // what it held. A good file replaces the meshes the brush held.
    bool loadFromFile(const char* path);

    void draw();
    void drawImmediate();
    void drawOutlined(float lineWidth);
    void texCoordsFromNormals();
    void calcDistances();
    // Moves every vertex toward time-driven angles, relights and draws; calcDistances comes first.
    void drawWobble(float time);

    std::vector<std::unique_ptr<CEGLMesh>> meshes;
    int meshCount;
    std::string name;

private:
    void clearMeshes();
    void bindMeshTexture(const CEGLMesh& mesh);
};
