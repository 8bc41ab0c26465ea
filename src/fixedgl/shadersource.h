// The GLSL ES 3.00 programs that stand in for the fixed-function pipeline, one variant per set
// of features a draw uses. The equations are those of OpenGL 1.x for what the show sets: one
// directional light at its default place with the default material, normals made unit length,
// linear fog on the eye's distance along z, sphere-map texture coordinates, and the texture
// modulating the colour. Static text, handed out without allocating; no GL; any thread.
#pragma once

#include <cstddef>
#include <cstdint>

enum ProgramFeature : uint32_t {
    kLit = 1u << 0,          // lighting on (colour from the light, not the vertex)
    kLightZero = 1u << 1,    // light 0 on, with lighting
    kUnitNormals = 1u << 2,  // GL_NORMALIZE
    kFogged = 1u << 3,
    kTextured = 1u << 4,       // GL_TEXTURE_2D on and a texture bound
    kSphereS = 1u << 5,        // s from the sphere map, with a texture
    kSphereT = 1u << 6,        // t from the sphere map, with a texture
    kVertexColours = 1u << 7,  // unlit, with colours that differ within a polygon
};
constexpr uint32_t kProgramFeatureCount = 8;
constexpr uint32_t kProgramVariants = 1u << kProgramFeatureCount;

// Attribute locations the sources bind.
enum ProgramAttribute : uint32_t {
    kPositionAttribute = 0,
    kNormalAttribute = 1,
    kColourAttribute = 2,
    kTexCoordAttribute = 3,
};

enum class EShaderStage { Vertex, Fragment };

// A shader's source as the pieces glShaderSource takes: the version line, a #define for each
// feature, the colour's interpolation, the body.
struct SShaderSource {
    const char* pieces[kProgramFeatureCount + 3];
    int count;
};

SShaderSource shaderSource(EShaderStage stage, uint32_t features);
