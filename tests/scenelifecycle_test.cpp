// What every scene owes the demo around its drawing: it survives a data root with nothing in it
// (each loader reports its file, the show goes on) and gives back every GL name it made.
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "core/random.h"
#include "scenes/endscene.h"
#include "show/timeline.h"
#include "support/messagerecorder.h"
#include "support/scenekit.h"

namespace {

struct SceneFiles {
    const char* scene;
    std::vector<std::string> pictures;  // each reported once per load by the picture loader
    int meshLoads;                      // each reported by the mesh loader
};

const SceneFiles kFiles[] = {
    {"credits",
     {"logo.jpg", "nor04.jpg", "title.jpg", "music.jpg", "coding.jpg", "tolvi.jpg", "quander.jpg",
      "brisel.jpg"},
     0},
    {"greetings", {"particle.jpg", "ruter2.jpg", "floortex.jpg", "overlay_greet.jpg"}, 1},
    {"spike", {"spikebase.jpg", "sv.jpg", "jente.jpg", "gutt.jpg", "roomtex.jpg"}, 3},
    {"tunnel", {"ruter.jpg", "sv2.jpg", "test2.jpg", "sv.jpg", "overlay_on.jpg"}, 3},
    {"end", {"bg.jpg", "gutt.jpg", "end.jpg"}, 1},
};

std::unique_ptr<CScene> makeScene(const char* name) {
    for (const STimelineSlot& slot : kTimeline)
        if (std::string(slot.name) == name) return slot.make();
    return nullptr;
}

// Texture names are small integers handed out in order; a scene makes far fewer than this.
int liveTextureNames() {
    int live = 0;
    for (GLuint name = 1; name < 256; ++name) live += glIsTexture(name) ? 1 : 0;
    return live;
}

class SceneLifecycle : public SceneKit {
protected:
    static void drawAFewFrames(CScene& scene, const STimelineSlot& slot) {
        for (float t : {0.5f, slot.duration * 0.5f, slot.duration - 0.1f})
            runTo(scene, t, std::max(0.1f, t - scene.localTime), Spectrum::constant(0.5f));
    }
};

TEST_F(SceneLifecycle, EveryMissingFileIsReportedAndTheSceneStillDraws) {
    ScratchDir empty("empty-root");
    ASSERT_EQ(chdir(empty.path.c_str()), 0);
    for (const STimelineSlot& slot : kTimeline) {
        const SceneFiles& files =
            *std::find_if(std::begin(kFiles), std::end(kFiles),
                          [&](const SceneFiles& f) { return f.scene == std::string(slot.name); });
        MessageRecorder recorder;
        std::unique_ptr<CScene> scene = makeScene(slot.name);
        initScene(*scene, slot.name);
        EXPECT_EQ(recorder.boxes.size(), files.pictures.size() + files.meshLoads) << slot.name;
        for (const std::string& picture : files.pictures)
            EXPECT_EQ(std::count_if(recorder.boxes.begin(), recorder.boxes.end(),
                                    [&](const MessageBoxRecord& box) {
                                        return box.text.find(picture) != std::string::npos;
                                    }),
                      1)
                << slot.name << ": " << picture;
        drawAFewFrames(*scene, slot);
        EXPECT_EQ(recorder.boxes.size(), files.pictures.size() + files.meshLoads)
            << slot.name << " reported more while drawing";
    }
}

TEST_F(SceneLifecycle, DeletingASceneReleasesEveryTextureItMade) {
    for (const STimelineSlot& slot : kTimeline) {
        seedRandom(1337);
        std::unique_ptr<CScene> scene = makeScene(slot.name);
        initScene(*scene, slot.name);
        drawAFewFrames(*scene, slot);
        EXPECT_EQ(liveTextureNames() > 0, !kFiles[&slot - kTimeline].pictures.empty()) << slot.name;
        scene.reset();
        EXPECT_EQ(liveTextureNames(), 0) << slot.name;
    }
}

// The five scenes share one random sequence, drawn in timeline order at init: the end scene's
// squares take the numbers right after the greetings' 6000 (the credits draw none).
TEST_F(SceneLifecycle, ScenesDrawTheirRandomNumbersInTimelineOrder) {
    seedRandom(1337);
    std::vector<std::unique_ptr<CScene>> scenes;
    for (const STimelineSlot& slot : kTimeline) {
        scenes.emplace_back(slot.make());
        initScene(*scenes.back(), slot.name);
    }
    seedRandom(1337);
    for (int i = 0; i < 6000; ++i) nextRandom();
    // Every square, exactly: a number rounded to a float before its arithmetic moves about half
    // of them by a unit in the last place.
    const CEndScene& end = dynamic_cast<const CEndScene&>(*scenes.back());
    for (int i = 0; i < CEndScene::kSquares; ++i) {
        double r[5];
        for (double& value : r) value = randomUnit();
        EXPECT_EQ(end.positions[i],
                  CVector(float(i * 12 - 340), float(r[0] * 50.0 - 25), float(r[1] * 80.0 - 25)))
            << i;
        EXPECT_EQ(end.axes[i], CVector(float(r[2] - 1.0), float(r[3] - 1.0), float(r[4] - 1.0)))
            << i;
    }
}

}  // namespace
