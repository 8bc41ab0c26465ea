#include "audio/vorbissetup.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

const unsigned char kSetupType = 5;
const uint32_t kCodebookSync = 0x564342;
// Every code length is at most 32 bits: a complete code's shares of 2^(32 - length) fill 2^32.
const uint64_t kFullCode = uint64_t(1) << 32;
const int kMaxCodeLength = 32;
// The library's own bound on a codebook: the bits of its dimensions and entries add up to 24.
const int kMaxBookBits = 24;

// Fields are packed least significant bit first, as the library reads them.
class BitReader {
public:
    BitReader(const unsigned char* bytes, size_t size) : data(bytes), bits(uint64_t(size) * 8) {}

    // At most 32 bits; past the end it reads 0 and remembers the overrun.
    uint32_t read(int count) {
        if (bits - pos < uint64_t(count)) {
            pos = bits;
            overran = true;
            return 0;
        }
        uint32_t value = 0;
        for (int i = 0; i < count; ++i, ++pos)
            value |= uint32_t(data[pos >> 3] >> (pos & 7) & 1) << i;
        return value;
    }

    void skip(uint64_t count) {
        if (bits - pos < count) overran = true;
        pos = std::min(bits, pos + count);
    }

    bool overrun() const { return overran; }

private:
    const unsigned char* data;
    uint64_t bits;
    uint64_t pos = 0;
    bool overran = false;
};

int ilog(uint64_t value) {
    int bits = 0;
    for (; value != 0; value >>= 1) ++bits;
    return bits;
}

// The code lengths of one codebook, summed as a prefix code fills its space.
class CodeSpace {
public:
    void add(uint64_t count, int length) {
        if (count == 0) return;
        if (used == 0) firstLength = length;
        used += count;
        // count < 2^25 and a share at most 2^31, so nothing overflows before the clamp.
        filled =
            std::min(filled + count * (uint64_t(1) << (kMaxCodeLength - length)), 2 * kFullCode);
    }

    // The library also takes a book with a single one-bit code.
    bool complete() const {
        return used == 0 || filled == kFullCode || (used == 1 && firstLength == 1);
    }

private:
    uint64_t used = 0;
    uint64_t filled = 0;
    int firstLength = 0;
};

bool readUnorderedLengths(BitReader& in, uint32_t entries, CodeSpace& code) {
    bool sparse = in.read(1) != 0;
    for (uint32_t i = 0; i < entries && !in.overrun(); ++i) {
        if (sparse && in.read(1) == 0) continue;
        code.add(1, static_cast<int>(in.read(5)) + 1);
    }
    return !in.overrun();
}

// Runs of entries with lengths that grow by one from run to run.
bool readOrderedLengths(BitReader& in, uint32_t entries, CodeSpace& code) {
    int length = static_cast<int>(in.read(5)) + 1;
    for (uint32_t i = 0; i < entries; ++length) {
        uint32_t count = in.read(ilog(entries - i));
        if (in.overrun() || count > entries - i || length > kMaxCodeLength) return false;
        code.add(count, length);
        i += count;
    }
    return true;
}

// Whether r^dimensions <= entries, without overflow.
bool powerFits(uint64_t r, uint32_t dimensions, uint64_t entries) {
    if (r <= 1) return r <= entries;
    uint64_t product = 1;
    for (uint32_t d = 0; d < dimensions; ++d) {
        product *= r;
        if (product > entries) return false;
    }
    return true;
}

// The largest r with r^dimensions <= entries: the values of a lattice lookup.
uint64_t latticeValues(uint32_t entries, uint32_t dimensions) {
    auto r = static_cast<uint64_t>(std::floor(std::pow(double(entries), 1.0 / dimensions)));
    while (r > 0 && !powerFits(r, dimensions, entries)) --r;
    while (powerFits(r + 1, dimensions, entries)) ++r;
    return r;
}

// Skips the vector lookup table; false for a type the library does not know.
bool skipLookup(BitReader& in, uint32_t entries, uint32_t dimensions) {
    uint32_t type = in.read(4);
    if (type == 0) return true;
    if (type > 2) return false;
    in.skip(32 + 32);  // minimum and step
    int valueBits = static_cast<int>(in.read(4)) + 1;
    in.skip(1);  // sequence flag
    uint64_t values =
        type == 1 ? latticeValues(entries, dimensions) : uint64_t(entries) * dimensions;
    in.skip(values * valueBits);
    return true;
}

const char* codebookProblem(BitReader& in) {
    if (in.read(24) != kCodebookSync) return "is out of step";
    uint32_t dimensions = in.read(16);
    uint32_t entries = in.read(24);
    if (dimensions == 0) return "has no dimensions";
    if (ilog(dimensions) + ilog(entries) > kMaxBookBits) return "is too large";
    CodeSpace code;
    bool ordered = in.read(1) != 0;
    bool lengthsRead =
        ordered ? readOrderedLengths(in, entries, code) : readUnorderedLengths(in, entries, code);
    if (!lengthsRead) return "has damaged code lengths";
    if (!code.complete()) return "has code lengths that do not make a complete prefix code";
    if (!skipLookup(in, entries, dimensions)) return "has an unknown lookup type";
    return in.overrun() ? "is cut short" : nullptr;
}

}  // namespace

bool CVorbisSetup::check(const unsigned char* packet, size_t bytes, std::string& problem) {
    if (bytes < 7 || packet[0] != kSetupType || std::memcmp(packet + 1, "vorbis", 6) != 0) {
        problem = "its setup header is missing";
        return false;
    }
    BitReader in(packet + 7, bytes - 7);
    uint32_t books = in.read(8) + 1;
    for (uint32_t i = 0; i < books; ++i) {
        if (const char* what = codebookProblem(in)) {
            problem = "codebook " + std::to_string(i) + " of its setup header " + what;
            return false;
        }
    }
    return true;
}
