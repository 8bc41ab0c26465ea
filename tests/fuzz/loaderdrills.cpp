#include "fuzz/loaderdrills.h"

#include <fstream>
#include <map>
#include <vector>

#include "assets/eglbrush.h"
#include "assets/jpeg.h"
#include "assets/pngbind.h"
#include "assets/texture.h"
#include "assets/tga.h"
#include "audio/audioformat.h"
#include "audio/offlinespectrum.h"
#include "audio/oggdecoder.h"
#include "platform/messagebox.h"
#include "render/slimebrush.h"
#include "show/barfile.h"

namespace {

// Collects the message boxes of a drill and judges each load's answer against them.
class Judge {
public:
    Judge() {
        setMessageBoxesHeadless(true);
        setMessageBoxObserver([this](const MessageBoxRecord& box) { boxes.push_back(box.text); });
    }
    ~Judge() { setMessageBoxObserver(nullptr); }

    // A step that answers with message boxes: one per load it refused.
    void boxed(bool ok, int loads = 1) { judge(ok, loads, take()); }

    // A load that answers with a reason of its own and shows no box.
    void reasoned(bool ok, const std::string& why) {
        std::vector<std::string> reasons = take();
        if (!why.empty()) reasons.push_back(why);
        judge(ok, 1, reasons);
    }

    // A load that gives no reason: it must only agree with the others.
    void agrees(bool ok) { judge(ok, ok ? 0 : -1, take()); }

    DrillVerdict verdict;

private:
    std::vector<std::string> take() { return std::move(boxes); }

    // expected < 0: any number of reasons will do.
    void judge(bool ok, int expected, const std::vector<std::string>& reasons) {
        if (first) verdict.accepted = ok;
        if (!first && ok != verdict.accepted) verdict.consistent = false;
        first = false;
        size_t wanted = ok ? 0 : static_cast<size_t>(expected);
        if (expected >= 0 && reasons.size() != wanted) verdict.consistent = false;
        for (const std::string& reason : reasons) verdict.reasons += reason + "\n";
    }

    bool first = true;
    std::vector<std::string> boxes;
};

// Reads every byte, so that the sanitizers see a buffer shorter than the loader claims.
void touch(const unsigned char* bytes, size_t size) {
    unsigned sum = 0;
    for (size_t i = 0; i < size; ++i) sum += bytes[i];
    volatile unsigned sink = sum;
    (void)sink;
}

}  // namespace

DrillVerdict drillJpeg(const std::string& path) {
    Judge judge;
    Cjpeg picture;
    bool decoded = picture.loadImage(path.c_str());
    judge.boxed(decoded);
    if (decoded) touch(picture.data.get(), static_cast<size_t>(picture.rowSize) * picture.height);
    CTexture texture;
    judge.boxed(texture.load(path.c_str()));
    return judge.verdict;
}

DrillVerdict drillPng(const std::string& path) {
    Judge judge;
    pngInfo info = {};
    GLuint solid =
        pngBind(path.c_str(), PNG_NOMIPMAPS, PNG_SOLID, &info, GL_CLAMP, GL_LINEAR, GL_LINEAR);
    glDeleteTextures(1, &solid);
    CTexture texture;
    judge.boxed(texture.loadPNG(path.c_str()));
    judge.agrees(solid != 0);
    return judge.verdict;
}

DrillVerdict drillTga(const std::string& path) {
    Judge judge;
    CTGA picture;
    bool loaded = picture.loadImage(path.c_str());
    judge.boxed(loaded);
    if (loaded) {
        size_t bytes = static_cast<size_t>(picture.width) * picture.height * picture.bitsPerPixel;
        touch(picture.data.get(), bytes / 8);
    }
    return judge.verdict;
}

DrillVerdict drillEbr(const std::string& path) {
    Judge judge;
    CEGLBrush brush;
    judge.boxed(brush.loadFromFile(path.c_str()));
    for (const auto& mesh : brush.meshes) {
        mesh->scale(2);
        mesh->calcNormals();
        mesh->negateVertices();
    }
    brush.draw();
    brush.drawImmediate();
    brush.drawOutlined(1);
    brush.texCoordsFromNormals();
    brush.calcDistances();
    brush.drawWobble(1.5f);
    // The slime brush loads the file twice, as the scenes that use it do.
    CSlimeBrush slime(path.c_str());
    judge.boxed(judge.verdict.accepted, 2);
    slime.update(CVector(1, 2, 3), 0.02f, 1.0f);
    slime.draw();
    return judge.verdict;
}

DrillVerdict drillBars(const std::string& path) {
    Judge judge;
    std::ifstream in(path, std::ios::binary);
    CBarFile file;
    std::string problem;
    bool read = file.read(in, problem);
    judge.reasoned(read, problem);
    return judge.verdict;
}

DrillVerdict drillOgg(const std::string& path) {
    Judge judge;
    COggDecoder decoder;
    bool opened = decoder.open(path, audioformat::kRate);
    judge.reasoned(opened, decoder.problem());
    if (opened) {
        std::vector<int16_t> stereo(2 * 4096);
        int64_t length = decoder.length();
        for (int64_t frame : {length / 2, int64_t(0), length - 100, length + 1})
            if (decoder.seek(frame)) decoder.read(stereo.data(), 4096);
    }
    COfflineSpectrum spectrum;
    judge.agrees(spectrum.open(path));
    float bands[512];
    for (double seconds : {0.0, 0.5, decoder.length() / double(audioformat::kRate)})
        spectrum.compute(seconds, bands);
    return judge.verdict;
}

LoaderDrill drillNamed(const std::string& name) {
    static const std::map<std::string, LoaderDrill> drills = {
        {"jpeg", drillJpeg}, {"png", drillPng},   {"tga", drillTga},
        {"ebr", drillEbr},   {"bars", drillBars}, {"ogg", drillOgg}};
    auto found = drills.find(name);
    return found == drills.end() ? nullptr : found->second;
}
