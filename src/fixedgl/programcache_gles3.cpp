#include "fixedgl/programcache.h"

#include <cstdio>

namespace {

// Building allocates nothing of ours: a variant first needed in the middle of a scene must not
// count against the frames that allocate nothing.
GLuint compile(GLenum kind, const SShaderSource& source, char* log, GLsizei logSize) {
    GLuint shader = glCreateShader(kind);
    glShaderSource(shader, source.count, source.pieces, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok == GL_TRUE) return shader;
    glGetShaderInfoLog(shader, logSize, nullptr, log);
    glDeleteShader(shader);
    return 0;
}

GLuint link(GLuint vertex, GLuint fragment, char* log, GLsizei logSize) {
    GLuint program = glCreateProgram();
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    glLinkProgram(program);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint ok = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (ok == GL_TRUE) return program;
    glGetProgramInfoLog(program, logSize, nullptr, log);
    glDeleteProgram(program);
    return 0;
}

}  // namespace

CProgramCache::~CProgramCache() {
    for (const SProgram& program : programs)
        if (program.name != 0) glDeleteProgram(program.name);
}

const SProgram& CProgramCache::program(uint32_t features) {
    features &= kProgramVariants - 1;
    if (!tried[features]) {
        tried[features] = true;
        programs[features] = build(features);
    }
    return programs[features];
}

SProgram CProgramCache::build(uint32_t features) {
    char log[1024] = "";
    GLuint vertex =
        compile(GL_VERTEX_SHADER, shaderSource(EShaderStage::Vertex, features), log, sizeof log);
    GLuint fragment =
        vertex == 0 ? 0
                    : compile(GL_FRAGMENT_SHADER, shaderSource(EShaderStage::Fragment, features),
                              log, sizeof log);
    SProgram result;
    if (fragment != 0)
        result.name = link(vertex, fragment, log, sizeof log);
    else if (vertex != 0)
        glDeleteShader(vertex);
    if (result.name == 0) {
        std::fprintf(stderr, "vexmoro: the drawing program 0x%02x does not build: %s\n", features,
                     log);
        return result;
    }
    const GLuint p = result.name;
    result.modelViewProjection = glGetUniformLocation(p, "uModelViewProjection");
    result.modelView = glGetUniformLocation(p, "uModelView");
    result.normalMatrix = glGetUniformLocation(p, "uNormalMatrix");
    result.textureMatrix = glGetUniformLocation(p, "uTextureMatrix");
    result.fogScaleBias = glGetUniformLocation(p, "uFogScaleBias");
    result.fogColour = glGetUniformLocation(p, "uFogColour");
    return result;  // the sampler stays on unit 0, where every uniform starts
}
