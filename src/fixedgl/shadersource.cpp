#include "fixedgl/shadersource.h"

namespace {

const char kVersion[] = "#version 300 es\nprecision highp float;\n";

// In the order of the feature bits.
const char* const kDefines[kProgramFeatureCount] = {
    "#define LIT\n",      "#define LIGHT_ZERO\n",    "#define UNIT_NORMALS\n",
    "#define FOGGED\n",   "#define TEXTURED\n",      "#define SPHERE_S\n",
    "#define SPHERE_T\n", "#define VERTEX_COLOURS\n"};

// An unlit colour that is the same at every corner is the same everywhere inside, exactly, as
// the fixed-function renderer draws a current colour; only colours that differ are interpolated.
const char kColourQualifier[] = R"(
#if defined(LIT) || defined(VERTEX_COLOURS)
#define COLOUR smooth
#else
#define COLOUR flat
#endif
)";

// Light 0 at its default place, (0, 0, 1, 0) in eye coordinates: a light from the viewer's
// direction. With the default material and light model the lit colour is
// 0.2 * 0.2 (the scene's ambient) + max(n.l, 0) * 0.8 (diffuse), alpha the material's 1; the
// material has no specular part.
const char kVertexBody[] = R"(
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec3 aNormal;
layout(location = 2) in vec4 aColour;
layout(location = 3) in vec2 aTexCoord;
uniform mat4 uModelViewProjection;
uniform mat4 uModelView;
uniform mat3 uNormalMatrix;
uniform mat4 uTextureMatrix;
COLOUR out vec4 vColour;
out vec4 vTexCoord;
out float vFogDistance;

const vec3 kSceneColour = vec3(0.2 * 0.2);
const vec3 kDiffuse = vec3(1.0 * 0.8);
const vec3 kLightDirection = vec3(0.0, 0.0, 1.0);

void main() {
    vec4 position = vec4(aPosition, 1.0);
    gl_Position = uModelViewProjection * position;
    vec4 eye = uModelView * position;
    vec3 normal = uNormalMatrix * aNormal;
#ifdef UNIT_NORMALS
    normal = normalize(normal);
#endif
#ifdef LIT
    vec3 lit = kSceneColour;
#ifdef LIGHT_ZERO
    lit += max(dot(normal, kLightDirection), 0.0) * kDiffuse;
#endif
    vColour = vec4(clamp(lit, 0.0, 1.0), 1.0);
#else
    vColour = aColour;
#endif
    vec4 texCoord = vec4(aTexCoord, 0.0, 1.0);
#if defined(SPHERE_S) || defined(SPHERE_T)
    vec3 u = normalize(eye.xyz);
    vec3 r = u - 2.0 * normal * dot(normal, u);
    float m = 2.0 * sqrt(r.x * r.x + r.y * r.y + (r.z + 1.0) * (r.z + 1.0));
#ifdef SPHERE_S
    texCoord.s = r.x / m + 0.5;
#endif
#ifdef SPHERE_T
    texCoord.t = r.y / m + 0.5;
#endif
#endif
    vTexCoord = uTextureMatrix * texCoord;
    vFogDistance = abs(eye.z);
}
)";

// Linear fog: f = (end - c) / (end - start), kept as c * scale + bias.
const char kFragmentBody[] = R"(
COLOUR in vec4 vColour;
in vec4 vTexCoord;
in float vFogDistance;
uniform sampler2D uTexture;
uniform vec2 uFogScaleBias;
uniform vec3 uFogColour;
out vec4 fragColour;

void main() {
    vec4 colour = vColour;
#ifdef TEXTURED
    colour *= textureProj(uTexture, vTexCoord);
#endif
#ifdef FOGGED
    float f = clamp(vFogDistance * uFogScaleBias.x + uFogScaleBias.y, 0.0, 1.0);
    colour.rgb = mix(uFogColour, colour.rgb, f);
#endif
    fragColour = colour;
}
)";

}  // namespace

SShaderSource shaderSource(EShaderStage stage, uint32_t features) {
    SShaderSource source{{kVersion}, 1};
    for (uint32_t bit = 0; bit < kProgramFeatureCount; ++bit)
        if (features & (1u << bit)) source.pieces[source.count++] = kDefines[bit];
    source.pieces[source.count++] = kColourQualifier;
    source.pieces[source.count++] = stage == EShaderStage::Vertex ? kVertexBody : kFragmentBody;
    return source;
}
