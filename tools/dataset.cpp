#include "dataset.h"

#include <filesystem>
#include <thread>

#include "meshset.h"
#include "oggwriter.h"
#include "pictureset.h"
#include "song.h"

namespace {

const float kVorbisQuality = 0.5f;
const float kDecodedPeak = 0.955f;  // -0.4 dBFS

bool makeFolder(const std::string& path, std::string& error) {
    std::error_code code;
    std::filesystem::create_directories(path, code);
    if (code) error = "cannot create " + path + ": " + code.message();
    return !code;
}

// Encodes the mix; lossy coding can overshoot the limiter's ceiling, so the decoded peak is
// measured and the mix lowered and encoded again until it stays under kDecodedPeak.
bool writeMusic(const std::string& dir, std::string& error) {
    CSong song;
    CStereoTrack mix = song.render();
    const std::string path = dir + "/" + kMusicFile;
    for (int attempt = 0; attempt < 4; ++attempt) {
        if (!writeOgg(path, mix, kVorbisQuality, "Sunderline (demo edit)")) {
            error = "cannot write " + path;
            return false;
        }
        const SDecodedOgg decoded = decodeOggPeak(path);
        if (!decoded.ok) {
            error = "cannot decode " + path;
            return false;
        }
        if (decoded.peak < kDecodedPeak) return true;
        const float gain = kDecodedPeak * 0.99f / decoded.peak;
        for (size_t i = 0; i < mix.size(); ++i) {
            mix.left[i] *= gain;
            mix.right[i] *= gain;
        }
    }
    error = "the encoded music keeps peaking above the limit";
    return false;
}

}  // namespace

bool generateDataSet(const std::string& root, const SDataParts& parts, std::string& error) {
    for (const char* sub : {"/textures", "/objects", "/music"})
        if (!makeFolder(root + sub, error)) return false;
    std::string musicError;
    bool musicOk = true;
    std::thread music([&] {
        if (parts.music) musicOk = writeMusic(root + "/music", musicError);
    });
    bool ok = (!parts.pictures || writePictures(root + "/textures", error)) &&
              (!parts.meshes || meshset::writeAll(root + "/objects", error));
    music.join();
    if (ok && !musicOk) error = musicError;
    return ok && musicOk;
}
