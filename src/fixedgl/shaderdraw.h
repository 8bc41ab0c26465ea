// The ES 3.0 side of the layer: sets the GL state a draw state asks for (only what changed since
// the draw before), picks the program variant, uploads the vertices and draws them. Owns its
// buffers, its vertex array objects and the programs; knows nothing of glBegin or the matrix
// stacks. Needs the ES 3.0 context current, also when destroyed; main thread only.
#pragma once

#include <GLES3/gl3.h>

#include <cstddef>
#include <cstdint>

#include "fixedgl/drawstate.h"
#include "fixedgl/programcache.h"
#include "fixedgl/vertexbatch.h"

// Client vertex arrays as the caller gave them; a null array takes the current value instead.
struct SClientArrays {
    const float* positions = nullptr;  // 3 floats a vertex
    const float* normals = nullptr;    // 3 floats a vertex
    const float* texCoords = nullptr;  // 2 floats a vertex
    size_t count = 0;                  // vertices used, the largest index + 1
    const float* currentNormal = nullptr;
    const float* currentColour = nullptr;
    const float* currentTexCoord = nullptr;
};

class CShaderDraw {
public:
    CShaderDraw();
    ~CShaderDraw();
    CShaderDraw(const CShaderDraw&) = delete;
    CShaderDraw& operator=(const CShaderDraw&) = delete;

    // Triangles, or with `lines` edges, given by indices into the vertices; `coloursDiffer`
    // when a polygon's corners do not all have the same colour.
    void drawVertices(const SDrawState& state, const SVertex* vertices, size_t vertexCount,
                      const uint32_t* indices, size_t indexCount, bool lines, bool coloursDiffer);
    void drawArrays(const SDrawState& state, const SClientArrays& arrays, const uint32_t* indices,
                    size_t indexCount, bool lines);

    // What a clear obeys: the scissor test and the colour mask.
    void prepareClear(const SDrawState& state);
    void bindTexture(GLuint name);
    // A deleted name is no longer bound.
    void forgetTexture(GLuint name);

private:
    void apply(const SDrawState& state, uint32_t features);
    void setSwitch(GLenum capability, bool on, int& cached);
    void setUniforms(const SProgram& program, const SDrawState& state);
    void uploadIndices(const uint32_t* indices, size_t count);

    CProgramCache programs;
    GLuint immediateLayout = 0;  // vertex array objects
    GLuint arraysLayout = 0;
    GLuint vertexBuffer = 0;
    GLuint arraysBuffer = 0;
    GLuint indexBuffer = 0;

    // The ES state as last set here; -1 (or 0xFFFFFFFF) until first set.
    int blend = -1, depthTest = -1, cullFace = -1, scissorTest = -1;
    uint32_t blendSource = ~0u, blendDestination = ~0u, depthFunction = ~0u, cullMode = ~0u;
    int viewport[4] = {-1, -1, -1, -1};
    int colourMask[4] = {-1, -1, -1, -1};
    float lineWidth = -1;
    GLuint boundTexture = ~0u;
    GLuint currentProgram = ~0u;
};
