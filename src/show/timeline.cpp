#include "show/timeline.h"

#include "scenes/creditsscene.h"
#include "scenes/endscene.h"
#include "scenes/greetingsscene.h"
#include "scenes/spikescene.h"
#include "scenes/tunnelscene.h"

namespace {

template <typename Scene>
std::unique_ptr<CScene> makeScene() {
    return std::make_unique<Scene>();
}

}  // namespace

// The spike room and the tunnel overlap from 126.4 to 126.85 s; the tunnel draws over it.
const STimelineSlot kTimeline[kTimelineLength] = {
    {"credits", 0.0f, 50.6f, makeScene<CCreditsScene>},
    {"greetings", 50.6f, 50.5f, makeScene<CGreetingsScene>},
    {"spike", 101.1f, 25.75f, makeScene<CSpikeScene>},
    {"tunnel", 126.4f, 50.6f, makeScene<CTunnelScene>},
    {"end", 177.0f, 32.2f, makeScene<CEndScene>},
};
