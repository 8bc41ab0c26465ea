#include "pictureset.h"

#include "creditpictures.h"
#include "imagewriter.h"
#include "mirrorpictures.h"
#include "overlaypictures.h"
#include "surfacepictures.h"
#include "textrenderer.h"

namespace {

const int kJpegQuality = 92;
const int kCell = 176;   // contact-sheet cell: picture plus caption
const int kThumb = 160;  // largest thumbnail side
const int kColumns = 6;

}  // namespace

const std::vector<SPictureSpec>& showPictures() {
    static const std::vector<SPictureSpec> pictures = {
        {"loading.jpg", 512, creditpictures::loading},
        {"logo.jpg", 512, creditpictures::logo},
        {"nor04.jpg", 512, creditpictures::partyEmblem},
        {"title.jpg", 512, creditpictures::title},
        {"music.jpg", 256, creditpictures::musicCredit},
        {"coding.jpg", 256, creditpictures::codeCredit},
        {"tolvi.jpg", 256, [] { return creditpictures::portrait(0); }},
        {"brisel.jpg", 256, [] { return creditpictures::portrait(1); }},
        {"quander.jpg", 256, [] { return creditpictures::portrait(2); }},
        {"particle.jpg", 64, surfacepictures::particle},
        {"ruter2.jpg", 256, surfacepictures::floorGrid},
        {"floortex.jpg", 256, surfacepictures::floorGloss},
        {"overlay_greet.jpg", 512, overlaypictures::greetings},
        {"roomtex.jpg", 256, surfacepictures::roomWalls},
        {"spikebase.jpg", 256, mirrorpictures::chrome},
        {"sv.jpg", 256, mirrorpictures::neon},
        {"test2.jpg", 256, mirrorpictures::sunset},
        {"jente.jpg", 256, overlaypictures::warmTile},
        {"gutt.jpg", 256, overlaypictures::coolTile},
        {"ruter.jpg", 256, surfacepictures::tunnelWalls},
        {"sv2.jpg", 256, surfacepictures::tunnelGlow},
        {"overlay_on.jpg", 512, overlaypictures::tunnelText},
        {"bg.jpg", 512, overlaypictures::endBackground},
        {"end.jpg", 512, overlaypictures::theEnd},
    };
    return pictures;
}

bool writePictures(const std::string& dir, std::string& error) {
    for (const SPictureSpec& spec : showPictures()) {
        const CCanvas canvas = spec.paint();
        if (canvas.width() != spec.size || canvas.height() != spec.size) {
            error = spec.file + " was painted at the wrong size";
            return false;
        }
        if (!writeJpeg(dir + "/" + spec.file, spec.size, spec.size, canvas.toRgb8(),
                       kJpegQuality)) {
            error = "cannot write " + dir + "/" + spec.file;
            return false;
        }
    }
    return true;
}

bool writeContactSheet(const std::string& path, std::string& error) {
    const auto& pictures = showPictures();
    const int rows = int(pictures.size() + kColumns - 1) / kColumns;
    CCanvas sheet(kColumns * kCell, rows * kCell);
    sheet.fill([](float, float) { return SColor{0.12f, 0.12f, 0.14f}; });
    CMask captions(sheet.width(), sheet.height());
    CTextRenderer font(fontPath("DejaVuSans.ttf"));
    for (size_t i = 0; i < pictures.size(); ++i) {
        const int x = int(i % kColumns) * kCell, y = int(i / kColumns) * kCell;
        // Small pictures are shown at their own size, so their scale stays visible.
        const int side = std::min(kThumb, pictures[i].size);
        const CCanvas picture = pictures[i].paint();
        sheet.blit(picture.resized(side, side), x + (kCell - side) / 2,
                   y + 4 + (kThumb - side) / 2);
        const std::string label = pictures[i].file + "  " + std::to_string(pictures[i].size);
        font.drawCentred(captions, label, x + kCell / 2.0f, y + kCell - 3.0f, 11);
    }
    sheet.addMask(captions, {0.85f, 0.85f, 0.85f});
    if (!writePng(path, sheet.width(), sheet.height(), sheet.toRgb8())) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}
