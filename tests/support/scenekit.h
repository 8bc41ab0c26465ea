// Test support for the scenes: a data root of solid-colour pictures and the show's real meshes,
// a driver that takes one scene through chosen local times with a chosen spectrum on the 800 by
// 600 offscreen context, and probes of the frame and of the GL state a draw leaves.
#pragma once

#include <array>
#include <functional>
#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

#include "core/scene.h"
#include "core/show.h"
#include "support/glfixture.h"
#include "support/scratchdir.h"

// A spectrum as CBass hands it to draw: 512 levels, of which the scenes read the first six.
struct Spectrum {
    static Spectrum silent() { return Spectrum(); }
    // The first entries as given, the rest 0.
    static Spectrum of(std::initializer_list<float> low);
    static Spectrum constant(float level);

    std::array<float, 512> s{};
};

using Rgb = std::array<int, 3>;

// The colour every picture of the test root is filled with; no two pictures share one.
Rgb pictureColour(const std::string& fileName);

struct Box {
    // A w by h rectangle with its lower-left pixel at (x, y), as drawTexturedQuad takes it.
    static Box at(int x, int y, int w, int h) { return {x, y, x + w - 1, y + h - 1}; }
    bool contains(int x, int y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }

    int x0 = 0, y0 = 0, x1 = -1, y1 = -1;  // inclusive pixel bounds, GL's lower-left origin
    bool empty() const { return x1 < x0; }
    int width() const { return x1 - x0 + 1; }
    int height() const { return y1 - y0 + 1; }
    bool operator==(const Box& b) const;
};
std::ostream& operator<<(std::ostream& out, const Box& box);

// A picture added onto the black frame over a box.
struct Placed {
    Box box;
    Rgb colour;
};

// The whole 800 by 600 frame as read back once.
class Frame {
public:
    static Frame grab();

    Rgb at(int x, int y) const;
    // Bounds of the pixels whose channel (0 red, 1 green, 2 blue) exceeds `level`.
    Box where(int channel, int level) const;
    // Bounds of the pixels within `tolerance` of `colour` in every channel.
    Box whereColour(const Rgb& colour, int tolerance) const;
    // Empty when every pixel is, within `tolerance`, the saturating sum of the colours of the
    // boxes that cover it (black where none does); otherwise where and how it differs.
    std::string differsFromAdded(const std::vector<Placed>& pictures, int tolerance) const;
    bool operator==(const Frame& other) const { return rgba == other.rgba; }

    static const int kWidth = kFrameWidth;
    static const int kHeight = kFrameHeight;

private:
    std::vector<unsigned char> rgba;
};

// The GL state a draw can leave behind.
struct GLStateProbe {
    static GLStateProbe read();
    // What a scene leaves when it ends with its overlays: blending, fog and texture generation
    // off, depth test, lighting and texturing on, the matrices back at the camera, the frame's
    // black clear colour.
    static GLStateProbe afterOverlays(int blendSrc, int blendDst, unsigned int boundTexture);

    bool blend, depthTest, lighting, fog, texGenS, texGenT, texture2D;
    int blendSrc, blendDst, boundTexture, matrixMode;
    int modelviewDepth, projectionDepth, textureDepth;
    std::array<float, 4> clearColour;

    bool operator==(const GLStateProbe& o) const;
};
std::ostream& operator<<(std::ostream& out, const GLStateProbe& state);

class CTexture;

// Makes a scene's texture one black texel, so that what it textures adds nothing to the frame
// and a test sees the rest alone.
void blacken(CTexture* texture);

// Each test gets a fresh window; the data root is made once per test program and is the working
// directory while a test runs, so the scenes find "data/..." as in the show.
class SceneKit : public GLFixture {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Gives the scene the window of its timeline slot and initialises it on the test root.
    static void initScene(CScene& scene, const char* timelineName);

    // One frame as CDemo draws it: cleared black, the timing fields advanced so that the scene's
    // local time becomes `t`, then update and draw.
    static void frameAt(CScene& scene, float t, const Spectrum& spectrum);
    // The same without the clear: a later scene of a frame in which two are active.
    static void drawOver(CScene& scene, float t, const Spectrum& spectrum);
    // Frames of `step` seconds from the scene's local time up to `t` (the last one lands on it),
    // each with the spectrum `spectrumAt` gives for its local time.
    static void runTo(CScene& scene, float t, float step,
                      const std::function<Spectrum(float)>& spectrumAt);
    static void runTo(CScene& scene, float t, float step, const Spectrum& spectrum);

    static std::string root();

private:
    static ScratchDir* dataRoot;
    std::string previousDir;
};
