#include "support/scenekit.h"

#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <map>
#include <sstream>

#include "assets/texture.h"
#include "show/timeline.h"
#include "support/picturefiles.h"

namespace fs = std::filesystem;

namespace {

// Channel levels 0, 128 and 255 in distinct triples: any two pictures differ by at least 127 in
// some channel, far beyond what JPEG at quality 100 changes in a solid colour.
const std::map<std::string, Rgb>& colours() {
    static const std::map<std::string, Rgb> table = {
        {"loading.jpg", {128, 128, 128}},     {"logo.jpg", {255, 0, 0}},
        {"nor04.jpg", {0, 255, 0}},           {"title.jpg", {0, 0, 255}},
        {"music.jpg", {255, 255, 0}},         {"coding.jpg", {255, 0, 255}},
        {"tolvi.jpg", {0, 255, 255}},         {"quander.jpg", {255, 128, 0}},
        {"brisel.jpg", {128, 0, 255}},        {"particle.jpg", {255, 255, 255}},
        {"ruter2.jpg", {0, 128, 0}},          {"floortex.jpg", {0, 0, 128}},
        {"overlay_greet.jpg", {128, 255, 0}}, {"roomtex.jpg", {128, 0, 0}},
        {"spikebase.jpg", {0, 128, 255}},     {"sv.jpg", {255, 0, 128}},
        {"jente.jpg", {0, 255, 128}},         {"gutt.jpg", {128, 128, 255}},
        {"ruter.jpg", {255, 128, 128}},       {"sv2.jpg", {128, 255, 128}},
        {"test2.jpg", {255, 255, 128}},       {"overlay_on.jpg", {128, 255, 255}},
        {"bg.jpg", {255, 128, 255}},          {"end.jpg", {0, 128, 128}},
    };
    return table;
}

void writeSolidPicture(const std::string& path, const Rgb& colour) {
    const int size = 16;
    Bytes pixels;
    for (int i = 0; i < size * size; ++i)
        for (int c : colour) pixels.push_back(static_cast<unsigned char>(c));
    writeJpeg(path, size, size, pixels);
}

void makeDataRoot(const std::string& root) {
    fs::create_directories(root + "/data/textures");
    for (const auto& [name, colour] : colours())
        writeSolidPicture(root + "/data/textures/" + name, colour);
    fs::copy(std::string(VEXMORO_DATA_DIR) + "/objects", root + "/data/objects");
}

const STimelineSlot& slotNamed(const char* name) {
    for (const STimelineSlot& slot : kTimeline)
        if (std::strcmp(slot.name, name) == 0) return slot;
    ADD_FAILURE() << "no scene named " << name << " in the timeline";
    return kTimeline[0];
}

}  // namespace

Spectrum Spectrum::of(std::initializer_list<float> low) {
    Spectrum spectrum;
    size_t k = 0;
    for (float level : low) spectrum.s[k++] = level;
    return spectrum;
}

Spectrum Spectrum::constant(float level) {
    Spectrum spectrum;
    spectrum.s.fill(level);
    return spectrum;
}

Rgb pictureColour(const std::string& fileName) {
    auto found = colours().find(fileName);
    EXPECT_NE(found, colours().end()) << fileName << " is not a picture of the show";
    return found != colours().end() ? found->second : Rgb{-1, -1, -1};
}

bool Box::operator==(const Box& b) const {
    return (empty() && b.empty()) || (x0 == b.x0 && y0 == b.y0 && x1 == b.x1 && y1 == b.y1);
}

std::ostream& operator<<(std::ostream& out, const Box& box) {
    if (box.empty()) return out << "(empty)";
    return out << box.width() << "x" << box.height() << " at (" << box.x0 << ", " << box.y0 << ")";
}

Frame Frame::grab() {
    Frame frame;
    frame.rgba.resize(static_cast<size_t>(kWidth) * kHeight * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, frame.rgba.data());
    return frame;
}

Rgb Frame::at(int x, int y) const {
    const unsigned char* p = &rgba[(static_cast<size_t>(y) * kWidth + x) * 4];
    return {p[0], p[1], p[2]};
}

namespace {

Box boundsWhere(int width, int height, const std::function<bool(int, int)>& inside) {
    Box box{width, height, -1, -1};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (inside(x, y)) {
                box.x0 = std::min(box.x0, x);
                box.y0 = std::min(box.y0, y);
                box.x1 = std::max(box.x1, x);
                box.y1 = std::max(box.y1, y);
            }
    return box.x1 < 0 ? Box() : box;
}

}  // namespace

Box Frame::where(int channel, int level) const {
    return boundsWhere(kWidth, kHeight, [&](int x, int y) { return at(x, y)[channel] > level; });
}

Box Frame::whereColour(const Rgb& colour, int tolerance) const {
    return boundsWhere(kWidth, kHeight, [&](int x, int y) {
        Rgb c = at(x, y);
        for (int k = 0; k < 3; ++k)
            if (std::abs(c[k] - colour[k]) > tolerance) return false;
        return true;
    });
}

std::string Frame::differsFromAdded(const std::vector<Placed>& pictures, int tolerance) const {
    int wrong = 0;
    std::ostringstream first;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            Rgb expected{0, 0, 0};
            for (const Placed& p : pictures)
                if (p.box.contains(x, y))
                    for (int k = 0; k < 3; ++k)
                        expected[k] = std::min(255, expected[k] + p.colour[k]);
            Rgb got = at(x, y);
            bool same = true;
            for (int k = 0; k < 3; ++k) same = same && std::abs(got[k] - expected[k]) <= tolerance;
            if (!same && wrong++ == 0)
                first << "(" << x << ", " << y << ") is " << got[0] << "/" << got[1] << "/"
                      << got[2] << ", not " << expected[0] << "/" << expected[1] << "/"
                      << expected[2];
        }
    if (wrong == 0) return std::string();
    return std::to_string(wrong) + " pixels differ, first " + first.str();
}

GLStateProbe GLStateProbe::read() {
    GLStateProbe state;
    state.blend = glIsEnabled(GL_BLEND);
    state.depthTest = glIsEnabled(GL_DEPTH_TEST);
    state.lighting = glIsEnabled(GL_LIGHTING);
    state.fog = glIsEnabled(GL_FOG);
    state.texGenS = glIsEnabled(GL_TEXTURE_GEN_S);
    state.texGenT = glIsEnabled(GL_TEXTURE_GEN_T);
    state.texture2D = glIsEnabled(GL_TEXTURE_2D);
    glGetIntegerv(GL_BLEND_SRC, &state.blendSrc);
    glGetIntegerv(GL_BLEND_DST, &state.blendDst);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &state.boundTexture);
    glGetIntegerv(GL_MATRIX_MODE, &state.matrixMode);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &state.modelviewDepth);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &state.projectionDepth);
    glGetIntegerv(GL_TEXTURE_STACK_DEPTH, &state.textureDepth);
    glGetFloatv(GL_COLOR_CLEAR_VALUE, state.clearColour.data());
    return state;
}

GLStateProbe GLStateProbe::afterOverlays(int blendSrc, int blendDst, unsigned int boundTexture) {
    GLStateProbe state;
    state.blend = state.fog = state.texGenS = state.texGenT = false;
    state.depthTest = state.lighting = state.texture2D = true;
    state.blendSrc = blendSrc;
    state.blendDst = blendDst;
    state.boundTexture = static_cast<int>(boundTexture);
    state.matrixMode = GL_MODELVIEW;
    state.modelviewDepth = state.projectionDepth = state.textureDepth = 1;
    state.clearColour = {0, 0, 0, 1};
    return state;
}

bool GLStateProbe::operator==(const GLStateProbe& o) const {
    return blend == o.blend && depthTest == o.depthTest && lighting == o.lighting && fog == o.fog &&
           texGenS == o.texGenS && texGenT == o.texGenT && texture2D == o.texture2D &&
           blendSrc == o.blendSrc && blendDst == o.blendDst && boundTexture == o.boundTexture &&
           matrixMode == o.matrixMode && modelviewDepth == o.modelviewDepth &&
           projectionDepth == o.projectionDepth && textureDepth == o.textureDepth &&
           clearColour == o.clearColour;
}

std::ostream& operator<<(std::ostream& out, const GLStateProbe& s) {
    out << "{blend " << s.blend << " (0x" << std::hex << s.blendSrc << ", 0x" << s.blendDst
        << std::dec << "), depth " << s.depthTest << ", lighting " << s.lighting << ", fog "
        << s.fog << ", texgen " << s.texGenS << s.texGenT << ", texture2D " << s.texture2D
        << ", bound " << s.boundTexture << ", matrix mode 0x" << std::hex << s.matrixMode
        << std::dec << ", stacks " << s.modelviewDepth << "/" << s.projectionDepth << "/"
        << s.textureDepth << ", clear (" << s.clearColour[0] << ", " << s.clearColour[1] << ", "
        << s.clearColour[2] << ", " << s.clearColour[3] << ")}";
    return out;
}

void blacken(CTexture* texture) {
    const unsigned char black[3] = {0, 0, 0};
    glBindTexture(GL_TEXTURE_2D, texture->id);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, black);
}

ScratchDir* SceneKit::dataRoot = nullptr;

void SceneKit::SetUpTestSuite() {
    dataRoot = new ScratchDir("scenes");
    ASSERT_FALSE(dataRoot->path.empty());
    makeDataRoot(dataRoot->path);
}

void SceneKit::TearDownTestSuite() {
    delete dataRoot;
    dataRoot = nullptr;
}

void SceneKit::SetUp() {
    GLFixture::SetUp();
    previousDir = fs::current_path().string();
    fs::current_path(root());
}

void SceneKit::TearDown() {
    fs::current_path(previousDir);
    GLFixture::TearDown();
}

std::string SceneKit::root() {
    return dataRoot != nullptr ? dataRoot->path : std::string();
}

void SceneKit::initScene(CScene& scene, const char* timelineName) {
    const STimelineSlot& slot = slotNamed(timelineName);
    scene.start = slot.start;
    scene.duration = slot.duration;
    scene.init();
}

void SceneKit::frameAt(CScene& scene, float t, const Spectrum& spectrum) {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawOver(scene, t, spectrum);
}

void SceneKit::drawOver(CScene& scene, float t, const Spectrum& spectrum) {
    float dt = t - scene.localTime;
    scene.deltaTime = dt;
    scene.time = scene.start + t;
    scene.localTime = t;
    scene.update();
    Spectrum copy = spectrum;  // draw may not keep or change the player's buffer
    scene.draw(copy.s.data());
}

void SceneKit::runTo(CScene& scene, float t, float step,
                     const std::function<Spectrum(float)>& spectrumAt) {
    while (scene.localTime + step < t) {
        float next = scene.localTime + step;
        frameAt(scene, next, spectrumAt(next));
    }
    frameAt(scene, t, spectrumAt(t));
}

void SceneKit::runTo(CScene& scene, float t, float step, const Spectrum& spectrum) {
    runTo(scene, t, step, [&](float) { return spectrum; });
}
