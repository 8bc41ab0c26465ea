#include "fixedgl/fixedpipeline.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "fixedgl/facing.h"
#include "fixedgl/gpuwait.h"
#include "fixedgl/unsupported.h"
#include "fixedgl/viewmatrices.h"

namespace {

// Enough for every immediate-mode run of the show between two state changes, and for the
// largest primitive anyone would give between glBegin and glEnd.
constexpr size_t kBatchVertices = 1 << 16;

struct SCapability {
    GLenum name;
    uint32_t bit;
};

constexpr SCapability kCapabilities[] = {
    {GL_LIGHTING, kLighting},
    {GL_LIGHT0, kLight0},
    {GL_FOG, kFog},
    {GL_TEXTURE_2D, kTexture2D},
    {GL_TEXTURE_GEN_S, kTexGenS},
    {GL_TEXTURE_GEN_T, kTexGenT},
    {GL_NORMALIZE, kNormalize},
    {GL_BLEND, kBlend},
    {GL_DEPTH_TEST, kDepthTest},
    {GL_CULL_FACE, kCullFace},
    {GL_SCISSOR_TEST, kScissorTest},
    {GL_LINE_SMOOTH, kLineSmooth},
    {GL_POINT_SMOOTH, kPointSmooth},
};

// GL 1.x's internal formats given as a component count.
GLenum esInternalFormat(GLint internalFormat) {
    switch (internalFormat) {
        case 3:
            return GL_RGB;
        case 4:
            return GL_RGBA;
        default:
            return static_cast<GLenum>(internalFormat);
    }
}

}  // namespace

CFixedPipeline::CFixedPipeline() : batch(kBatchVertices) {}

void CFixedPipeline::enable(GLenum cap) {
    setSwitch(cap, true);
}

void CFixedPipeline::disable(GLenum cap) {
    setSwitch(cap, false);
}

void CFixedPipeline::setSwitch(GLenum capability, bool on) {
    for (const SCapability& known : kCapabilities) {
        if (known.name != capability) continue;
        state.enabled = on ? state.enabled | known.bit : state.enabled & ~known.bit;
        return;
    }
    reportUnsupported(on ? "glEnable" : "glDisable", capability);
}

// Interpolation is always perspective-correct and fog computed per fragment, the nicest.
void CFixedPipeline::hint(GLenum target, GLenum) {
    if (target != GL_PERSPECTIVE_CORRECTION_HINT && target != GL_FOG_HINT)
        reportUnsupported("glHint", target);
}

void CFixedPipeline::shadeModel(GLenum mode) {
    if (mode != GL_SMOOTH) reportUnsupported("glShadeModel", mode);
}

void CFixedPipeline::blendFunc(GLenum source, GLenum destination) {
    state.blendSource = source;
    state.blendDestination = destination;
}

void CFixedPipeline::depthFunc(GLenum function) {
    state.depthFunction = function;
}

void CFixedPipeline::cullFace(GLenum face) {
    state.cullFace = face;
}

void CFixedPipeline::clearColor(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    const float values[4] = {r, g, b, a};
    for (int i = 0; i < 4; ++i) clearColour[i] = std::clamp(values[i], 0.0f, 1.0f);
}

void CFixedPipeline::clearDepth(GLdouble depth) {
    flush();
    glClearDepthf(static_cast<GLfloat>(depth));
}

void CFixedPipeline::clear(GLbitfield mask) {
    flush();
    draw.prepareClear(state);
    glClearColor(clearColour[0], clearColour[1], clearColour[2], clearColour[3]);
    glClear(mask);
}

void CFixedPipeline::colorMask(GLboolean r, GLboolean g, GLboolean b, GLboolean a) {
    const GLboolean values[4] = {r, g, b, a};
    for (int i = 0; i < 4; ++i) state.colourMask[i] = values[i] != GL_FALSE;
}

void CFixedPipeline::viewport(GLint x, GLint y, GLsizei w, GLsizei h) {
    const int values[4] = {x, y, w, h};
    std::memcpy(state.viewport, values, sizeof values);
}

void CFixedPipeline::lineWidth(GLfloat width) {
    state.lineWidth = width;
}

void CFixedPipeline::polygonMode(GLenum face, GLenum mode) {
    if (mode != GL_LINE && mode != GL_FILL) return reportUnsupported("glPolygonMode", mode);
    if (face == GL_FRONT || face == GL_FRONT_AND_BACK) state.polygonFront = mode;
    if (face == GL_BACK || face == GL_FRONT_AND_BACK) state.polygonBack = mode;
    if (face != GL_FRONT && face != GL_BACK && face != GL_FRONT_AND_BACK)
        reportUnsupported("glPolygonMode", face);
}

void CFixedPipeline::fogf(GLenum name, GLfloat value) {
    if (name == GL_FOG_START)
        state.fogStart = value;
    else if (name == GL_FOG_END)
        state.fogEnd = value;
    else if (name == GL_FOG_MODE)
        fogi(name, static_cast<GLint>(value));
    else
        reportUnsupported("glFogf", name);
}

void CFixedPipeline::fogi(GLenum name, GLint value) {
    if (name == GL_FOG_MODE && value == GL_LINEAR) return;
    if (name == GL_FOG_START || name == GL_FOG_END) return fogf(name, static_cast<GLfloat>(value));
    reportUnsupported("glFogi", name == GL_FOG_MODE ? static_cast<GLenum>(value) : name);
}

void CFixedPipeline::fogfv(GLenum name, const GLfloat* values) {
    if (name != GL_FOG_COLOR) return fogf(name, values[0]);
    for (int i = 0; i < 4; ++i) state.fogColour[i] = std::clamp(values[i], 0.0f, 1.0f);
}

void CFixedPipeline::texGeni(GLenum coord, GLenum name, GLint value) {
    if ((coord != GL_S && coord != GL_T) || name != GL_TEXTURE_GEN_MODE)
        return reportUnsupported("glTexGeni", coord != GL_S && coord != GL_T ? coord : name);
    if (value != GL_SPHERE_MAP) reportUnsupported("glTexGeni", static_cast<GLenum>(value));
}

void CFixedPipeline::pushAttrib(GLbitfield mask) {
    if ((mask & ~(GL_COLOR_BUFFER_BIT | GL_SCISSOR_BIT)) != 0)
        reportUnsupported("glPushAttrib", mask);
    if (pushedCount == pushed.size()) return;  // GL's stack overflow: nothing is pushed
    SPushedAttributes& saved = pushed[pushedCount++];
    saved.mask = mask;
    saved.state = state;
    std::memcpy(saved.clearColour, clearColour, sizeof clearColour);
}

void CFixedPipeline::popAttrib() {
    if (pushedCount == 0) return;
    const SPushedAttributes& saved = pushed[--pushedCount];
    if (saved.mask & GL_COLOR_BUFFER_BIT) {
        const uint32_t kept = kBlend;
        state.enabled = (state.enabled & ~kept) | (saved.state.enabled & kept);
        state.blendSource = saved.state.blendSource;
        state.blendDestination = saved.state.blendDestination;
        std::memcpy(state.colourMask, saved.state.colourMask, sizeof state.colourMask);
        std::memcpy(clearColour, saved.clearColour, sizeof clearColour);
    }
    if (saved.mask & GL_SCISSOR_BIT)
        state.enabled = (state.enabled & ~kScissorTest) | (saved.state.enabled & kScissorTest);
}

void CFixedPipeline::finish() {
    flush();
    waitForGPU();
}

const GLubyte* CFixedPipeline::getString(GLenum name) {
    return glGetString(name);
}

void CFixedPipeline::getIntegerv(GLenum name, GLint* values) {
    switch (name) {
        case GL_VIEWPORT:
            std::memcpy(values, state.viewport, sizeof state.viewport);
            return;
        case GL_TEXTURE_BINDING_2D:
            values[0] = static_cast<GLint>(state.boundTexture);
            return;
        case GL_MAX_TEXTURE_SIZE:
        case GL_UNPACK_ALIGNMENT:
        case GL_PACK_ALIGNMENT:
            glGetIntegerv(name, values);
            return;
        default:
            reportUnsupported("glGetIntegerv", name);
    }
}

void CFixedPipeline::getFloatv(GLenum name, GLfloat* values) {
    const CMatrix* matrix = name == GL_MODELVIEW_MATRIX    ? &state.modelview
                            : name == GL_PROJECTION_MATRIX ? &state.projection
                            : name == GL_TEXTURE_MATRIX    ? &state.texture
                                                           : nullptr;
    if (matrix == nullptr) return reportUnsupported("glGetFloatv", name);
    std::memcpy(values, matrix->m, sizeof matrix->m);
}

void CFixedPipeline::pixelStorei(GLenum name, GLint value) {
    switch (name) {
        case GL_PACK_ALIGNMENT:
            packAlignment = value;
            [[fallthrough]];
        case GL_UNPACK_ALIGNMENT:
        case GL_UNPACK_ROW_LENGTH:
        case GL_UNPACK_SKIP_ROWS:
        case GL_UNPACK_SKIP_PIXELS:
            glPixelStorei(name, value);
            return;
        default:
            reportUnsupported("glPixelStorei", name);
    }
}

// ES promises RGBA bytes; RGB is read as RGBA and packed as GL_PACK_ALIGNMENT asks.
void CFixedPipeline::readPixels(GLint x, GLint y, GLsizei w, GLsizei h, GLenum format, GLenum type,
                                void* pixels) {
    flush();
    if (type != GL_UNSIGNED_BYTE || (format != GL_RGB && format != GL_RGBA))
        return reportUnsupported("glReadPixels", type != GL_UNSIGNED_BYTE ? type : format);
    if (format == GL_RGBA) return glReadPixels(x, y, w, h, format, type, pixels);
    const size_t rgba = static_cast<size_t>(w) * static_cast<size_t>(h) * 4;
    if (readScratch.size() < rgba) readScratch.resize(rgba);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(x, y, w, h, GL_RGBA, GL_UNSIGNED_BYTE, readScratch.data());
    glPixelStorei(GL_PACK_ALIGNMENT, packAlignment);
    const size_t row = (static_cast<size_t>(w) * 3 + packAlignment - 1) / packAlignment *
                       static_cast<size_t>(packAlignment);
    auto* out = static_cast<unsigned char*>(pixels);
    for (GLsizei j = 0; j < h; ++j)
        for (GLsizei i = 0; i < w; ++i)
            std::memcpy(out + j * row + i * 3, &readScratch[(static_cast<size_t>(j) * w + i) * 4],
                        3);
}

void CFixedPipeline::matrixMode(GLenum mode) {
    if (mode != GL_MODELVIEW && mode != GL_PROJECTION && mode != GL_TEXTURE)
        return reportUnsupported("glMatrixMode", mode);
    currentMatrix = mode;
}

CMatrixStack& CFixedPipeline::stack() {
    return currentMatrix == GL_PROJECTION ? projectionStack
           : currentMatrix == GL_TEXTURE  ? textureStack
                                          : modelviewStack;
}

void CFixedPipeline::matrixChanged() {
    state.modelview = modelviewStack.top();
    state.projection = projectionStack.top();
    state.texture = textureStack.top();
}

void CFixedPipeline::multiply(const CMatrix& matrix) {
    stack().multiply(matrix);
    matrixChanged();
}

void CFixedPipeline::loadIdentity() {
    stack().load(CMatrix());
    matrixChanged();
}

void CFixedPipeline::pushMatrix() {
    stack().push();
}

void CFixedPipeline::popMatrix() {
    stack().pop();
    matrixChanged();
}

void CFixedPipeline::translatef(GLfloat x, GLfloat y, GLfloat z) {
    multiply(CMatrix::translation(x, y, z));
}

void CFixedPipeline::translated(GLdouble x, GLdouble y, GLdouble z) {
    translatef(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
}

void CFixedPipeline::rotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
    multiply(CMatrix::rotation(angle, x, y, z));
}

void CFixedPipeline::scalef(GLfloat x, GLfloat y, GLfloat z) {
    multiply(CMatrix::scaling(x, y, z));
}

void CFixedPipeline::multMatrixf(const GLfloat* m) {
    multiply(CMatrix::fromColumns(m));
}

void CFixedPipeline::multMatrixd(const GLdouble* m) {
    multiply(CMatrix::fromColumns(m));
}

void CFixedPipeline::ortho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top,
                           GLdouble zNear, GLdouble zFar) {
    multiply(CMatrix::orthographic(left, right, bottom, top, zNear, zFar));
}

void CFixedPipeline::perspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
    multMatrixd(perspectiveMatrix(fovy, aspect, zNear, zFar).data());
}

void CFixedPipeline::lookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centreX,
                            GLdouble centreY, GLdouble centreZ, GLdouble upX, GLdouble upY,
                            GLdouble upZ) {
    multMatrixf(lookAtRotation(eyeX, eyeY, eyeZ, centreX, centreY, centreZ, upX, upY, upZ).data());
    translated(-eyeX, -eyeY, -eyeZ);
}

// A primitive joins the gathered ones when it is drawn with the same state.
void CFixedPipeline::begin(GLenum mode) {
    if (!batch.empty() && state != batchState) drawBatch();
    batchState = state;
    if (!batch.begin(mode)) reportUnsupported("glBegin", mode);
}

void CFixedPipeline::end() {
    batch.end();
}

void CFixedPipeline::vertex3f(GLfloat x, GLfloat y, GLfloat z) {
    SVertex v{{x, y, z},
              {normal[0], normal[1], normal[2]},
              {colour[0], colour[1], colour[2], colour[3]},
              {texCoord[0], texCoord[1]}};
    if (batch.add(v)) return;
    drawBatch();
    batch.add(v);
}

void CFixedPipeline::normal3f(GLfloat x, GLfloat y, GLfloat z) {
    normal[0] = x;
    normal[1] = y;
    normal[2] = z;
}

void CFixedPipeline::color3f(GLfloat r, GLfloat g, GLfloat b) {
    color4f(r, g, b, 1);
}

void CFixedPipeline::color4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    colour[0] = r;
    colour[1] = g;
    colour[2] = b;
    colour[3] = a;
}

void CFixedPipeline::texCoord2f(GLfloat s, GLfloat t) {
    texCoord[0] = s;
    texCoord[1] = t;
}

void CFixedPipeline::enableClientState(GLenum array) {
    setClientArray(array, true);
}

void CFixedPipeline::disableClientState(GLenum array) {
    setClientArray(array, false);
}

void CFixedPipeline::setClientArray(GLenum array, bool on) {
    SClientArray* client = array == GL_VERTEX_ARRAY          ? &vertexArray
                           : array == GL_NORMAL_ARRAY        ? &normalArray
                           : array == GL_TEXTURE_COORD_ARRAY ? &texCoordArray
                                                             : nullptr;
    if (client == nullptr)
        return reportUnsupported(on ? "glEnableClientState" : "glDisableClientState", array);
    client->enabled = on;
}

// Tightly packed floats only, as the meshes keep them.
void CFixedPipeline::vertexPointer(GLint size, GLenum type, GLsizei stride, const void* data) {
    if (size != 3 || type != GL_FLOAT || (stride != 0 && stride != 12))
        return reportUnsupported("glVertexPointer", size != 3 ? size : type);
    vertexArray.data = static_cast<const float*>(data);
}

void CFixedPipeline::normalPointer(GLenum type, GLsizei stride, const void* data) {
    if (type != GL_FLOAT || (stride != 0 && stride != 12))
        return reportUnsupported("glNormalPointer", type);
    normalArray.data = static_cast<const float*>(data);
}

void CFixedPipeline::texCoordPointer(GLint size, GLenum type, GLsizei stride, const void* data) {
    if (size != 2 || type != GL_FLOAT || (stride != 0 && stride != 8))
        return reportUnsupported("glTexCoordPointer", size != 2 ? size : type);
    texCoordArray.data = static_cast<const float*>(data);
}

void CFixedPipeline::drawElements(GLenum mode, GLsizei count, GLenum type, const void* indices) {
    flush();
    if (mode != GL_TRIANGLES || type != GL_UNSIGNED_INT)
        return reportUnsupported("glDrawElements", mode != GL_TRIANGLES ? mode : type);
    if (count <= 0 || !vertexArray.enabled || vertexArray.data == nullptr) return;
    const auto* list = static_cast<const uint32_t*>(indices);
    SClientArrays arrays;
    arrays.positions = vertexArray.data;
    arrays.normals = normalArray.enabled ? normalArray.data : nullptr;
    arrays.texCoords = texCoordArray.enabled ? texCoordArray.data : nullptr;
    arrays.count = largestIndex(list, static_cast<size_t>(count)) + 1;
    arrays.currentNormal = normal;
    arrays.currentColour = colour;
    arrays.currentTexCoord = texCoord;
    if (state.polygonFront == GL_FILL && state.polygonBack == GL_FILL)
        return draw.drawArrays(state, arrays, list, static_cast<size_t>(count), false);
    drawMeshByFace(arrays, list, static_cast<size_t>(count));
}

size_t CFixedPipeline::largestIndex(const uint32_t* indices, size_t count) const {
    uint32_t largest = 0;
    for (size_t i = 0; i < count; ++i) largest = std::max(largest, indices[i]);
    return largest;
}

void CFixedPipeline::genTextures(GLsizei n, GLuint* names) {
    glGenTextures(n, names);
}

void CFixedPipeline::deleteTextures(GLsizei n, const GLuint* names) {
    flush();
    for (GLsizei i = 0; i < n; ++i) {
        draw.forgetTexture(names[i]);
        if (names[i] == state.boundTexture) state.boundTexture = 0;
    }
    glDeleteTextures(n, names);
}

void CFixedPipeline::bindTexture(GLenum target, GLuint name) {
    if (target != GL_TEXTURE_2D) return reportUnsupported("glBindTexture", target);
    state.boundTexture = name;
}

// Calls that change the bound texture's pixels or how it is sampled.
void CFixedPipeline::prepareTexture() {
    flush();
    draw.bindTexture(state.boundTexture);
}

// GL_CLAMP, which reaches for a border colour at the edge, has no ES counterpart.
void CFixedPipeline::texParameteri(GLenum target, GLenum name, GLint value) {
    if (target != GL_TEXTURE_2D) return reportUnsupported("glTexParameteri", target);
    if (value == GL_CLAMP) return reportUnsupported("glTexParameteri", GL_CLAMP);
    prepareTexture();
    glTexParameteri(target, name, value);
}

void CFixedPipeline::texImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei w,
                                GLsizei h, GLint border, GLenum format, GLenum type,
                                const void* pixels) {
    if (target != GL_TEXTURE_2D || border != 0 || type != GL_UNSIGNED_BYTE)
        return reportUnsupported("glTexImage2D", target != GL_TEXTURE_2D ? target : type);
    prepareTexture();
    glTexImage2D(target, level, static_cast<GLint>(esInternalFormat(internalFormat)), w, h, 0,
                 format, type, pixels);
}

void CFixedPipeline::copyTexImage2D(GLenum target, GLint level, GLenum internalFormat, GLint x,
                                    GLint y, GLsizei w, GLsizei h, GLint border) {
    if (target != GL_TEXTURE_2D || border != 0)
        return reportUnsupported("glCopyTexImage2D", target);
    prepareTexture();
    glCopyTexImage2D(target, level, esInternalFormat(static_cast<GLint>(internalFormat)), x, y, w,
                     h, 0);
}

void CFixedPipeline::flush() {
    if (!batch.empty()) drawBatch();
}

void CFixedPipeline::drawBatch() {
    const bool filled = batchState.polygonFront == GL_FILL && batchState.polygonBack == GL_FILL;
    if (filled) {
        size_t n = batch.triangles([](uint32_t, uint32_t) { return true; });
        draw.drawVertices(batchState, batch.vertexData(), batch.vertexCount(), batch.indexData(), n,
                          false, batch.coloursDiffer());
    } else {
        drawBatchByFace();
    }
    batch.clear();
}

// Polygons as lines: each face is culled, filled or outlined here, and ES culls nothing more.
void CFixedPipeline::drawBatchByFace() {
    const CMatrix modelViewProjection = batchState.projection * batchState.modelview;
    SDrawState unculled = batchState;
    unculled.enabled &= ~kCullFace;
    const SVertex* vertices = batch.vertexData();
    for (EFaceDrawn wanted : {EFaceDrawn::Filled, EFaceDrawn::Lines}) {
        auto keep = [&](uint32_t first, uint32_t) {
            const SVertex* v = vertices + first;
            return faceDrawn(batchState, modelViewProjection, v[0].position, v[1].position,
                             v[2].position) == wanted;
        };
        const bool lines = wanted == EFaceDrawn::Lines;
        size_t n = lines ? batch.edges(keep) : batch.triangles(keep);
        if (n > 0)
            draw.drawVertices(unculled, vertices, batch.vertexCount(), batch.indexData(), n, lines,
                              batch.coloursDiffer());
    }
}

void CFixedPipeline::drawMeshByFace(const SClientArrays& arrays, const uint32_t* indices,
                                    size_t count) {
    const CMatrix modelViewProjection = state.projection * state.modelview;
    SDrawState unculled = state;
    unculled.enabled &= ~kCullFace;
    if (meshScratch.size() < count * 2) meshScratch.resize(count * 2);
    for (EFaceDrawn wanted : {EFaceDrawn::Filled, EFaceDrawn::Lines}) {
        size_t n = 0;
        for (size_t t = 0; t + 2 < count; t += 3) {
            const uint32_t* corner = indices + t;
            if (faceDrawn(state, modelViewProjection, arrays.positions + 3 * corner[0],
                          arrays.positions + 3 * corner[1],
                          arrays.positions + 3 * corner[2]) != wanted)
                continue;
            const int pattern[2][6] = {{0, 1, 2, 0, 0, 0}, {0, 1, 1, 2, 2, 0}};
            const int used = wanted == EFaceDrawn::Lines ? 6 : 3;
            for (int k = 0; k < used; ++k) meshScratch[n++] = corner[pattern[used / 6][k]];
        }
        if (n > 0)
            draw.drawArrays(unculled, arrays, meshScratch.data(), n, wanted == EFaceDrawn::Lines);
    }
}
