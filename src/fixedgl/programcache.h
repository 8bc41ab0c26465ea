// The compiled variants of the fixed-function programs (fixedgl/shadersource.h), each made the
// first time a draw asks for it and kept until the cache goes. Does not choose the variant.
// Needs the ES 3.0 context current, at every call and when destroyed; main thread only.
#pragma once

#include <GLES3/gl3.h>

#include <array>

#include "fixedgl/shadersource.h"

struct SProgram {
    GLuint name = 0;
    GLint modelViewProjection = -1;
    GLint modelView = -1;
    GLint normalMatrix = -1;
    GLint textureMatrix = -1;
    GLint fogScaleBias = -1;
    GLint fogColour = -1;
};

class CProgramCache {
public:
    CProgramCache() = default;
    ~CProgramCache();
    CProgramCache(const CProgramCache&) = delete;
    CProgramCache& operator=(const CProgramCache&) = delete;

    // The variant for these features; a program that does not build is reported on standard
    // error once and has name 0, which draws nothing.
    const SProgram& program(uint32_t features);

private:
    SProgram build(uint32_t features);

    std::array<SProgram, kProgramVariants> programs{};
    std::array<bool, kProgramVariants> tried{};
};
