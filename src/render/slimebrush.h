// A mesh that follows target rotations like a soft body: each vertex chases the targets at a rate
// that falls with its distance from the origin, so the outer parts trail. Only the first mesh of
// the file moves and is drawn. Allocates only in the constructor; draw needs a current GL context
// and sets no GL state.
#pragma once

#include <memory>

#include "assets/eglbrush.h"
#include "math/vector.h"

class CSlimeBrush {
public:
    // A file that fails to load or holds no mesh gives an object that updates and draws nothing.
    explicit CSlimeBrush(const char* fileName);
    ~CSlimeBrush();
    CSlimeBrush(const CSlimeBrush&) = delete;
    CSlimeBrush& operator=(const CSlimeBrush&) = delete;

    // Target angles in radians about X, Y, Z; frameTime is the scene's deltaTime.
    void update(const CVector& targetAngles, float frameTime, float lag);
    void draw();

    std::unique_ptr<CEGLBrush> source;
    std::unique_ptr<CEGLBrush> shape;
    std::unique_ptr<float[]> distances;
    std::unique_ptr<CVector[]> angles;

private:
    bool takeStep(float frameTime, float& stepTime);
    void chaseTargets(const CVector& targetAngles, float frameTime, float lag);

    int vertexCount;    // of the first mesh; 0 when there is nothing to move
    float pendingTime;  // short frames not yet turned into a step
};
