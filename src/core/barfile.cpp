#include "core/barfile.h"

#include <cstring>

namespace {

const uint64_t kFieldSize = 4;
const uint64_t kRecordSize = 9 * kFieldSize;

uint64_t bytesLeft(std::istream& in) {
    std::streampos here = in.tellg();
    in.seekg(0, std::ios::end);
    std::streampos end = in.tellg();
    in.seekg(here);
    if (here < 0 || end < here) return 0;
    return static_cast<uint64_t>(end - here);
}

template <typename T>
T bitCopy(uint32_t bits) {
    T value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

}  // namespace

bool CBarFile::read(std::istream& stream, std::string& why) {
    in = &stream;
    problem = &why;
    left = bytesLeft(stream);
    uint32_t start, x, y, full, music;
    bool ok = readText(demoName, "demo name") && readField(start, "start time") &&
              readField(x, "width") && readField(y, "height") &&
              readField(full, "full-screen flag") && readField(music, "music flag") &&
              readField(bpm, "tempo") && readText(musicName, "music file name") && readBars();
    if (!ok) return false;
    startTime = bitCopy<float>(start);
    xres = bitCopy<int32_t>(x);
    yres = bitCopy<int32_t>(y);
    fullscreen = full != 0;
    musicEnabled = music != 0;
    return true;
}

// Assembled byte by byte, so the file reads the same on any host.
bool CBarFile::readField(uint32_t& value, const char* what) {
    unsigned char bytes[kFieldSize];
    if (left < kFieldSize || !in->read(reinterpret_cast<char*>(bytes), kFieldSize)) {
        *problem = std::string("The bar file ends before its ") + what + ".";
        return false;
    }
    left -= kFieldSize;
    value = bytes[0] | bytes[1] << 8 | static_cast<uint32_t>(bytes[2]) << 16 |
            static_cast<uint32_t>(bytes[3]) << 24;
    return true;
}

// A length prefix, then that many bytes; the text stops at its first 0 byte, if any.
bool CBarFile::readText(std::string& text, const char* what) {
    uint32_t length;
    if (!readField(length, (std::string(what) + " length").c_str())) return false;
    if (length > left) {
        *problem = std::string("The bar file gives its ") + what + " a length of " +
                   std::to_string(bitCopy<int32_t>(length)) +
                   " bytes, which the rest of the file cannot hold.";
        return false;
    }
    std::string bytes(length, '\0');
    if (length > 0 && !in->read(&bytes[0], length)) {
        *problem = std::string("The bar file ends inside its ") + what + ".";
        return false;
    }
    left -= length;
    text = bytes.c_str();
    return true;
}

// The count is checked against the bytes left before anything is allocated for it.
bool CBarFile::readBars() {
    uint32_t count;
    if (!readField(count, "bar count")) return false;
    if (count > left / kRecordSize) {
        *problem = "The bar file announces " + std::to_string(count) +
                   " bar records, more than the rest of the file holds.";
        return false;
    }
    bars.resize(count);
    for (CBarEntry& bar : bars) {
        uint32_t* fields[] = {&bar.sp,  &bar.sta, &bar.sb,  &bar.sti, &bar.lp,
                              &bar.lta, &bar.lb,  &bar.lti, &bar.ei};
        for (uint32_t* field : fields)
            if (!readField(*field, "bar records")) return false;
    }
    return true;
}
