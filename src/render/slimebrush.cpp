#include "render/slimebrush.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

// Steps of at most this length are not taken on their own (the chase rate grows without bound as
// the frame time shrinks); shorter frames are gathered into one step instead.
const double kMinStepTime = 0.01;

// A vertex at the origin would have an infinite rate; it follows the targets at once.
float chaseRate(float frameTime, float distance, float lag) {
    if (distance == 0) return 1.0f;
    return static_cast<float>(1.0 / (static_cast<double>(frameTime) * distance * lag));
}

float chaseAngle(float angle, float target, float rate) {
    return static_cast<float>(angle + (static_cast<double>(target) - angle) * rate);
}

// Cosine and sine of the last angle asked for: the show's targets repeat a component (the spike
// room turns Y and Z alike, the tunnel X and Y), so each vertex repeats one of its angles.
class SinCos {
public:
    // Compared bit for bit, so that -0 and NaN are never mistaken for a cached angle.
    void of(float a) {
        std::uint32_t bits;
        std::memcpy(&bits, &a, sizeof bits);
        if (bits == angleBits) return;
        angleBits = bits;
        c = std::cos(static_cast<double>(a));
        s = std::sin(static_cast<double>(a));
    }
    double c = 1, s = 0;

private:
    std::uint32_t angleBits = 0;  // +0, whose cosine and sine are 1 and 0
};

}  // namespace

CSlimeBrush::CSlimeBrush(const char* fileName)
    : source(std::make_unique<CEGLBrush>()),
      shape(std::make_unique<CEGLBrush>()),
      vertexCount(0),
      pendingTime(0) {
    source->loadFromFile(fileName);
    shape->loadFromFile(fileName);
    // The two loads must agree vertex for vertex (the file could change between them).
    if (source->meshCount == 0 || shape->meshCount == 0 ||
        shape->meshes[0]->vertexCount != source->meshes[0]->vertexCount) {
        return;
    }
    const CEGLMesh& rest = *source->meshes[0];
    vertexCount = rest.vertexCount;
    distances = std::make_unique<float[]>(vertexCount);
    angles = std::make_unique<CVector[]>(vertexCount);
    for (int i = 0; i < vertexCount; ++i) distances[i] = rest.vertices[i].length();
    // Drawn before the first effective update, the shape must already be lit.
    shape->meshes[0]->calcNormals();
}

// In declaration order, not the reverse the members would take by themselves.
CSlimeBrush::~CSlimeBrush() {
    source.reset();
    shape.reset();
    distances.reset();
    angles.reset();
}

// Frames longer than the minimum step are taken as they are; shorter ones add up until their sum
// passes it, so a fast display still moves the slime.
bool CSlimeBrush::takeStep(float frameTime, float& stepTime) {
    if (frameTime > kMinStepTime) {
        pendingTime = 0;
        stepTime = frameTime;
        return true;
    }
    if (frameTime > 0) pendingTime += frameTime;
    if (pendingTime <= kMinStepTime) return false;
    stepTime = pendingTime;
    pendingTime = 0;
    return true;
}

void CSlimeBrush::update(const CVector& targetAngles, float frameTime, float lag) {
    float stepTime;
    if (vertexCount == 0 || !takeStep(frameTime, stepTime)) return;
    chaseTargets(targetAngles, stepTime, lag);
    shape->meshes[0]->calcNormals();
}

void CSlimeBrush::chaseTargets(const CVector& targetAngles, float frameTime, float lag) {
    const CVector* rest = source->meshes[0]->vertices.get();
    CVector* moved = shape->meshes[0]->vertices.get();
    SinCos turn;
    for (int i = 0; i < vertexCount; ++i) {
        float rate = chaseRate(frameTime, distances[i], lag);
        CVector& a = angles[i];
        a = CVector(chaseAngle(a.x, targetAngles.x, rate), chaseAngle(a.y, targetAngles.y, rate),
                    chaseAngle(a.z, targetAngles.z, rate));
        CVector p = rest[i];
        turn.of(a.x);
        turnX(p, turn.c, turn.s);
        turn.of(a.y);
        turnY(p, turn.c, turn.s);
        turn.of(a.z);
        turnZ(p, turn.c, turn.s);
        moved[i] = p;
    }
}

void CSlimeBrush::draw() {
    if (vertexCount > 0) shape->meshes[0]->draw();
}
