#include "assets/eglmesh.h"

#include <cmath>

#include "assets/texture.h"
#include "fixedgl/gl.h"

CEGLMesh::CEGLMesh() : vertexCount(0), triangleCount(0), normalCount(0), texCoordCount(0) {}

// Released in the order they were allocated, the texture object last.
CEGLMesh::~CEGLMesh() {
    vertices.reset();
    triangles.reset();
    normals.reset();
    texCoords.reset();
    vertexDistances.reset();
    vertexAngles.reset();
    basePositions.reset();
    // The GL name belongs to the texture setTexture was given; only our object goes.
    if (texture != nullptr) texture->id = 0;
    texture.reset();
}

// The loader fills positions, triangles and coordinates; every array starts zeroed, so distances
// read before calcDistances and normals drawn before calcNormals are zero rather than
// indeterminate. Empty arrays stay null: each allocation, even of nothing, costs heap.
void CEGLMesh::allocate(int vertexCnt, int triangleCnt) {
    vertexCount = vertexCnt;
    triangleCount = triangleCnt;
    normalCount = vertexCnt;
    texCoordCount = vertexCnt;
    if (triangleCount > 0) triangles = std::make_unique<std::uint32_t[][3]>(triangleCount);
    if (vertexCount == 0) return;
    vertices = std::make_unique<CVector[]>(vertexCount);
    normals = std::make_unique<CVector[]>(normalCount);
    texCoords = std::make_unique<float[][2]>(texCoordCount);
    vertexDistances = std::make_unique<float[]>(vertexCount);
    vertexAngles = std::make_unique<CVector[]>(vertexCount);
    basePositions = std::make_unique<CVector[]>(vertexCount);
}

// Face normals are summed unnormalised, so each triangle weighs by its area.
void CEGLMesh::calcNormals() {
    for (int i = 0; i < normalCount; ++i) normals[i] = CVector();
    for (int k = 0; k < triangleCount; ++k) {
        const std::uint32_t* tri = triangles[k];
        const CVector& a = vertices[tri[0]];
        CVector trinormal = (vertices[tri[1]] - a).cross(vertices[tri[2]] - a);
        normals[tri[0]] += trinormal;
        normals[tri[1]] += trinormal;
        normals[tri[2]] += trinormal;
    }
    for (int i = 0; i < normalCount; ++i) {
        CVector& n = normals[i];
        double sum = static_cast<double>(n.x) * n.x + static_cast<double>(n.y) * n.y +
                     static_cast<double>(n.z) * n.z;
        float inv = static_cast<float>(1.0 / std::sqrt(sum));
        // No area around the vertex (or an overflowed sum): a zero normal, never NaN or infinity.
        if (!(sum > 0) || !std::isfinite(sum) || !std::isfinite(inv)) {
            n = CVector();
            continue;
        }
        n = CVector(n.x * inv, n.y * inv, n.z * inv);
    }
}

void CEGLMesh::scale(float factor) {
    for (int i = 0; i < vertexCount; ++i) {
        CVector& v = vertices[i];
        v = CVector(v.x * factor, v.y * factor, v.z * factor);
    }
}

void CEGLMesh::negateVertices() {
    for (int i = 0; i < vertexCount; ++i) {
        CVector& v = vertices[i];
        v = CVector(-v.x, -v.y, -v.z);
    }
}

void CEGLMesh::draw() {
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, vertices.get());
    glNormalPointer(GL_FLOAT, 0, normals.get());
    glTexCoordPointer(2, GL_FLOAT, 0, texCoords.get());
    glDrawElements(GL_TRIANGLES, triangleCount * 3, GL_UNSIGNED_INT, triangles.get());
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}

void CEGLMesh::drawImmediate() {
    for (int k = 0; k < triangleCount; ++k) {
        glBegin(GL_TRIANGLES);
        for (std::uint32_t corner : triangles[k]) {
            glTexCoord2f(texCoords[corner][0], texCoords[corner][1]);
            glNormal3f(normals[corner].x, normals[corner].y, normals[corner].z);
            glVertex3f(vertices[corner].x, vertices[corner].y, vertices[corner].z);
        }
        glEnd();
    }
}

void CEGLMesh::drawOutlined(float lineWidth) {
    glCullFace(GL_FRONT);
    glEnable(GL_CULL_FACE);
    glLineWidth(lineWidth);
    glPolygonMode(GL_BACK, GL_LINE);
    glColor3f(0, 0, 0);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    draw();

    glPolygonMode(GL_FRONT, GL_FILL);
    glEnable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glCullFace(GL_BACK);
    draw();
}

void CEGLMesh::texCoordsFromNormals() {
    for (int i = 0; i < texCoordCount; ++i) {
        texCoords[i][0] = static_cast<float>(0.5 * normals[i].x + 0.5);
        texCoords[i][1] = static_cast<float>(0.5 * normals[i].y + 0.5);
    }
}

void CEGLMesh::setTexture(const CTexture& tex) {
    if (texture == nullptr) texture = std::make_unique<CTexture>();
    texture->id = tex.id;
}
