// The fixed-function GL of the gles3 renderer: keeps the state GL 1.x keeps (matrix stacks,
// switches, current colour, normal and texture coordinate, client arrays, fog, texture
// generation, pushed attributes) and draws with OpenGL ES 3.0 through CShaderDraw. Immediate-mode
// primitives are gathered and drawn together while the state they need stays the same; the
// gathered ones are drawn before anything that reads or changes pixels or textures.
// Gives: the calls of fixedgl/calls.h, with GL_TRIANGLES and GL_QUADS, one light at its default
// place with the default material, linear fog, sphere-map texture generation, GL_MODULATE,
// polygons as lines, and the colour-buffer and scissor bits of glPushAttrib. Refuses anything
// else through reportUnsupported. Needs the ES 3.0 context current from construction to
// destruction; main thread only.
#pragma once

#include <GLES3/gl3.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fixedgl/calls.h"
#include "fixedgl/drawstate.h"
#include "fixedgl/matrixstack.h"
#include "fixedgl/shaderdraw.h"
#include "fixedgl/vertexbatch.h"

class CFixedPipeline {
public:
    CFixedPipeline();
    CFixedPipeline(const CFixedPipeline&) = delete;
    CFixedPipeline& operator=(const CFixedPipeline&) = delete;

    // The pipeline of the current context; made by fixedglStart, gone after fixedglStop.
    static CFixedPipeline& current();
    // Draws what is gathered: before the frame is shown or anything reads it.
    void flush();

#define FIXEDGL_METHOD(result, name, method, parameters, arguments) result method parameters;
    FIXEDGL_CALLS(FIXEDGL_METHOD)
#undef FIXEDGL_METHOD

private:
    struct SClientArray {
        bool enabled = false;
        const float* data = nullptr;
    };
    struct SPushedAttributes {
        GLbitfield mask;
        SDrawState state;
        float clearColour[4];
    };

    void setSwitch(GLenum capability, bool on);
    void setClientArray(GLenum array, bool on);
    CMatrixStack& stack();
    void matrixChanged();
    void multiply(const CMatrix& matrix);
    void drawBatch();
    void drawBatchByFace();
    void drawMeshByFace(const SClientArrays& arrays, const uint32_t* indices, size_t count);
    void prepareTexture();
    size_t largestIndex(const uint32_t* indices, size_t count) const;

    SDrawState state;
    SDrawState batchState;
    CMatrixStack modelviewStack, projectionStack, textureStack;
    GLenum currentMatrix = GL_MODELVIEW;
    float colour[4] = {1, 1, 1, 1};
    float normal[3] = {0, 0, 1};
    float texCoord[2] = {0, 0};
    float clearColour[4] = {0, 0, 0, 0};
    GLint packAlignment = 4;
    SClientArray vertexArray, normalArray, texCoordArray;
    std::array<SPushedAttributes, 16> pushed;
    size_t pushedCount = 0;
    CVertexBatch batch;
    std::vector<uint32_t> meshScratch;       // a mesh's indices as lines or its kept faces
    std::vector<unsigned char> readScratch;  // RGBA read back for an RGB read
    CShaderDraw draw;
};
