// vexmoro-musiccheck: how a music file drives the scenes, measured on the show's own offline
// spectrum at 60 frames per second. Prints the figures; exits 1 when a target is missed.
#include <cstdio>

#include "audio/offlinespectrum.h"
#include "musicfigures.h"
#include "oggwriter.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vexmoro-musiccheck FILE.ogg\n");
        return 2;
    }
    COfflineSpectrum spectrum;
    const SDecodedOgg decoded = decodeOggPeak(argv[1]);
    if (!decoded.ok || !spectrum.open(argv[1])) {
        std::fprintf(stderr, "cannot decode %s\n", argv[1]);
        return 1;
    }
    const SMusicFigures figures = measureMusic(
        [&](double t, float* bins) { spectrum.compute(t, bins); }, decoded.seconds, decoded.peak);
    const std::string missed = missedTargets(figures);
    std::printf("%s%s", describe(figures).c_str(),
                missed.empty() ? "all targets met\n" : missed.c_str());
    return missed.empty() ? 0 : 1;
}
