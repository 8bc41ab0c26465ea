#include "show/barfile.h"

#include <cmath>
#include <cstring>
#include <sstream>

namespace {

const uint64_t kFieldSize = 4;
const uint64_t kRecordSize = 9 * kFieldSize;
// A stream that cannot tell its length (a pipe) is read whole first, up to this: far beyond
// any bar file.
const size_t kMaxUnsizedBytes = size_t(16) << 20;

// False for a stream that cannot seek.
bool bytesLeft(std::istream& in, uint64_t& left) {
    std::streampos here = in.tellg();
    if (here < 0) return false;
    in.seekg(0, std::ios::end);
    std::streampos end = in.tellg();
    in.seekg(here);
    left = end < here ? 0 : static_cast<uint64_t>(end - here);
    return true;
}

template <typename T>
T bitCopy(uint32_t bits) {
    T value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

}  // namespace

bool CBarFile::read(std::istream& stream, std::string& why) {
    if (!bytesLeft(stream, left)) return readUnsized(stream, why);
    in = &stream;
    problem = &why;
    uint32_t start, x, y, full, music;
    bool ok = readText(demoName, "demo name") && readField(start, "start time") &&
              readField(x, "width") && readField(y, "height") &&
              readField(full, "full-screen flag") && readField(music, "music flag") &&
              readField(bpm, "tempo") && readText(musicName, "music file name") && readBars();
    if (!ok) return false;
    startTime = bitCopy<float>(start);
    // As --start on the command line: from no number, or from far below 0, the show never ends.
    if (!std::isfinite(startTime) || startTime < 0) {
        why = "The bar file gives a start time of " + std::to_string(startTime) +
              " s; it must be a number of seconds from 0 on.";
        return false;
    }
    xres = bitCopy<int32_t>(x);
    yres = bitCopy<int32_t>(y);
    fullscreen = full != 0;
    musicEnabled = music != 0;
    return true;
}

bool CBarFile::readUnsized(std::istream& stream, std::string& why) {
    std::string bytes;
    char chunk[4096];
    do {
        stream.read(chunk, sizeof chunk);
        bytes.append(chunk, static_cast<size_t>(stream.gcount()));
        if (bytes.size() > kMaxUnsizedBytes) {
            why = "The bar file is larger than any bar file needs to be.";
            return false;
        }
    } while (stream);
    if (stream.bad()) {
        why = "The bar file cannot be read.";
        return false;
    }
    std::istringstream whole(bytes);
    return read(whole, why);
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
                   std::to_string(length) + " bytes, which the rest of the file cannot hold.";
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
