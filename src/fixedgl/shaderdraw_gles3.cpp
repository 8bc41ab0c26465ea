#include "fixedgl/shaderdraw.h"

#include <cstring>

namespace {

void vertexAttribute(GLuint index, GLint size, GLsizei stride, size_t offset) {
    glEnableVertexAttribArray(index);
    glVertexAttribPointer(index, size, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<const void*>(offset));
}

// An array the caller gave, or else the current value for every vertex.
void arrayOrCurrent(GLuint index, GLint size, const float* array, const float* current,
                    size_t& offset, size_t count) {
    if (array == nullptr) {
        glDisableVertexAttribArray(index);
        if (size == 2) glVertexAttrib4f(index, current[0], current[1], 0, 1);
        if (size == 3) glVertexAttrib4f(index, current[0], current[1], current[2], 1);
        if (size == 4) glVertexAttrib4fv(index, current);
        return;
    }
    size_t bytes = count * size * sizeof(float);
    glBufferSubData(GL_ARRAY_BUFFER, static_cast<GLintptr>(offset), static_cast<GLsizeiptr>(bytes),
                    array);
    vertexAttribute(index, size, 0, offset);
    offset += bytes;
}

}  // namespace

CShaderDraw::CShaderDraw() {
    glGenBuffers(1, &vertexBuffer);
    glGenBuffers(1, &arraysBuffer);
    glGenBuffers(1, &indexBuffer);
    glGenVertexArrays(1, &immediateLayout);
    glGenVertexArrays(1, &arraysLayout);
    glBindVertexArray(immediateLayout);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
    const GLsizei stride = sizeof(SVertex);
    vertexAttribute(kPositionAttribute, 3, stride, offsetof(SVertex, position));
    vertexAttribute(kNormalAttribute, 3, stride, offsetof(SVertex, normal));
    vertexAttribute(kColourAttribute, 4, stride, offsetof(SVertex, colour));
    vertexAttribute(kTexCoordAttribute, 2, stride, offsetof(SVertex, texCoord));
    glBindVertexArray(arraysLayout);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
}

CShaderDraw::~CShaderDraw() {
    glBindVertexArray(0);
    glDeleteVertexArrays(1, &arraysLayout);
    glDeleteVertexArrays(1, &immediateLayout);
    glDeleteBuffers(1, &indexBuffer);
    glDeleteBuffers(1, &arraysBuffer);
    glDeleteBuffers(1, &vertexBuffer);
}

void CShaderDraw::drawVertices(const SDrawState& state, const SVertex* vertices, size_t vertexCount,
                               const uint32_t* indices, size_t indexCount, bool lines,
                               bool coloursDiffer) {
    apply(state, state.programFeatures() | (coloursDiffer ? kVertexColours : 0u));
    glBindVertexArray(immediateLayout);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertexCount * sizeof(SVertex)), vertices,
                 GL_STREAM_DRAW);
    uploadIndices(indices, indexCount);
    glDrawElements(lines ? GL_LINES : GL_TRIANGLES, static_cast<GLsizei>(indexCount),
                   GL_UNSIGNED_INT, nullptr);
}

void CShaderDraw::drawArrays(const SDrawState& state, const SClientArrays& arrays,
                             const uint32_t* indices, size_t indexCount, bool lines) {
    apply(state, state.programFeatures());  // the current colour, the same for every vertex
    glBindVertexArray(arraysLayout);
    glBindBuffer(GL_ARRAY_BUFFER, arraysBuffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(arrays.count * 8 * sizeof(float)),
                 nullptr, GL_STREAM_DRAW);
    size_t offset = 0;
    arrayOrCurrent(kPositionAttribute, 3, arrays.positions, nullptr, offset, arrays.count);
    arrayOrCurrent(kNormalAttribute, 3, arrays.normals, arrays.currentNormal, offset, arrays.count);
    arrayOrCurrent(kColourAttribute, 4, nullptr, arrays.currentColour, offset, arrays.count);
    arrayOrCurrent(kTexCoordAttribute, 2, arrays.texCoords, arrays.currentTexCoord, offset,
                   arrays.count);
    uploadIndices(indices, indexCount);
    glDrawElements(lines ? GL_LINES : GL_TRIANGLES, static_cast<GLsizei>(indexCount),
                   GL_UNSIGNED_INT, nullptr);
}

void CShaderDraw::uploadIndices(const uint32_t* indices, size_t count) {
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(count * sizeof(uint32_t)),
                 indices, GL_STREAM_DRAW);
}

void CShaderDraw::prepareClear(const SDrawState& state) {
    setSwitch(GL_SCISSOR_TEST, state.has(kScissorTest), scissorTest);
    bool same = true;
    for (int i = 0; i < 4; ++i) same = same && colourMask[i] == state.colourMask[i];
    if (!same) {
        glColorMask(state.colourMask[0], state.colourMask[1], state.colourMask[2],
                    state.colourMask[3]);
        for (int i = 0; i < 4; ++i) colourMask[i] = state.colourMask[i];
    }
}

void CShaderDraw::bindTexture(GLuint name) {
    if (name == boundTexture) return;
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, name);
    boundTexture = name;
}

void CShaderDraw::forgetTexture(GLuint name) {
    if (name == boundTexture) boundTexture = 0;
}

void CShaderDraw::setSwitch(GLenum capability, bool on, int& cached) {
    if (cached == static_cast<int>(on)) return;
    if (on)
        glEnable(capability);
    else
        glDisable(capability);
    cached = on;
}

void CShaderDraw::apply(const SDrawState& state, uint32_t features) {
    prepareClear(state);
    setSwitch(GL_BLEND, state.has(kBlend), blend);
    setSwitch(GL_DEPTH_TEST, state.has(kDepthTest), depthTest);
    setSwitch(GL_CULL_FACE, state.has(kCullFace), cullFace);
    if (state.blendSource != blendSource || state.blendDestination != blendDestination) {
        glBlendFunc(state.blendSource, state.blendDestination);
        blendSource = state.blendSource;
        blendDestination = state.blendDestination;
    }
    if (state.depthFunction != depthFunction) glDepthFunc(depthFunction = state.depthFunction);
    if (state.cullFace != cullMode) glCullFace(cullMode = state.cullFace);
    if (std::memcmp(viewport, state.viewport, sizeof viewport) != 0) {
        glViewport(state.viewport[0], state.viewport[1], state.viewport[2], state.viewport[3]);
        std::memcpy(viewport, state.viewport, sizeof viewport);
    }
    if (state.lineWidth != lineWidth) glLineWidth(lineWidth = state.lineWidth);
    bindTexture(state.boundTexture);
    const SProgram& program = programs.program(features);
    if (program.name != currentProgram) glUseProgram(currentProgram = program.name);
    setUniforms(program, state);
}

void CShaderDraw::setUniforms(const SProgram& program, const SDrawState& state) {
    const CMatrix modelViewProjection = state.projection * state.modelview;
    float normalMatrix[9];
    state.modelview.normalMatrix(normalMatrix);
    glUniformMatrix4fv(program.modelViewProjection, 1, GL_FALSE, modelViewProjection.m);
    glUniformMatrix4fv(program.modelView, 1, GL_FALSE, state.modelview.m);
    glUniformMatrix3fv(program.normalMatrix, 1, GL_FALSE, normalMatrix);
    glUniformMatrix4fv(program.textureMatrix, 1, GL_FALSE, state.texture.m);
    const float range = state.fogEnd - state.fogStart;
    glUniform2f(program.fogScaleBias, -1.0f / range, state.fogEnd / range);
    glUniform3fv(program.fogColour, 1, state.fogColour);
}
