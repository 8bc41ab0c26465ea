// Setup headers built bit by bit: which codebooks the check lets through to the library.
#include "audio/vorbissetup.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

// Fields packed least significant bit first, as Vorbis packs them.
struct Bits {
    Bits& put(uint32_t value, int count) {
        for (int i = 0; i < count; ++i, ++used) {
            if (used % 8 == 0) bytes.push_back(0);
            bytes.back() |= static_cast<unsigned char>((value >> i & 1) << (used % 8));
        }
        return *this;
    }
    std::vector<unsigned char> bytes;
    int used = 0;
};

struct Book {
    uint32_t dimensions;
    std::vector<int> lengths;  // 0: an unused entry (the book is then sparse)
    int lookup = 0;            // with 1 or 2, four value bits each
};

void putBook(Bits& bits, const Book& book) {
    bits.put(0x564342, 24).put(book.dimensions, 16).put(book.lengths.size(), 24).put(0, 1);
    bool sparse = false;
    for (int length : book.lengths) sparse = sparse || length == 0;
    bits.put(sparse, 1);
    for (int length : book.lengths) {
        if (sparse) bits.put(length != 0, 1);
        if (length != 0) bits.put(length - 1, 5);
    }
    bits.put(book.lookup, 4);
    if (book.lookup == 0) return;
    bits.put(0, 32).put(0, 32).put(3, 4).put(0, 1);
    // Lattice books hold r values with r^dimensions <= entries; these tests use r = 2.
    size_t values = book.lookup == 1 ? 2 : book.lengths.size() * book.dimensions;
    for (size_t i = 0; i < values; ++i) bits.put(i, 4);
}

std::vector<unsigned char> setup(const std::vector<Book>& books) {
    Bits bits;
    bits.put(5, 8);
    for (char c : std::string("vorbis")) bits.put(static_cast<unsigned char>(c), 8);
    bits.put(books.size() - 1, 8);
    for (const Book& book : books) putBook(bits, book);
    return bits.bytes;
}

// One book whose lengths are given as runs: `runs[k]` entries of length first + k.
std::vector<unsigned char> orderedBook(int first, const std::vector<uint32_t>& runs) {
    Bits bits;
    bits.put(5, 8);
    for (char c : std::string("vorbis")) bits.put(static_cast<unsigned char>(c), 8);
    uint32_t entries = 0;
    for (uint32_t run : runs) entries += run;
    bits.put(0, 8).put(0x564342, 24).put(1, 16).put(entries, 24).put(1, 1).put(first - 1, 5);
    uint32_t given = 0;
    for (uint32_t run : runs) {
        int width = 0;
        for (uint32_t left = entries - given; left != 0; left >>= 1) ++width;
        bits.put(run, width);
        given += run;
    }
    bits.put(0, 4);
    return bits.bytes;
}

}  // namespace

TEST(VorbisSetup, LetsThroughOnlyBooksTheLibraryCanBuild) {
    const Book good{1, {1, 2, 3, 3}};
    struct Case {
        const char* name;
        std::vector<unsigned char> packet;
        const char* problem;  // empty: passes
    };
    const Case cases[] = {
        {"complete code", setup({good}), ""},
        {"single one-bit entry", setup({{1, {1}}}), ""},
        {"unused entries around a complete code", setup({{1, {0, 1, 0, 1}}}), ""},
        {"no used entry at all", setup({{1, {0, 0}}}), ""},
        {"32-bit codes filling the space",
         setup({{1, {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17,
                     18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 32}}}),
         ""},
        {"lattice and list lookups skipped exactly",
         setup({{2, {2, 2, 2, 2}, 1}, {2, {1, 2, 2}, 2}, good}), ""},
        {"ordered lengths, complete", orderedBook(1, {1, 1, 2}), ""},
        {"single two-bit entry", setup({{1, {2}}}), "codebook 0 of its setup header has code"},
        {"code space left over", setup({good, {1, {1, 2, 3}}}), "codebook 1 of"},
        {"code space overfilled", setup({{1, {1, 1, 2}}}), "complete prefix code"},
        {"ordered lengths, overfilled", orderedBook(1, {1, 1, 3}), "complete prefix code"},
        {"ordered lengths past 32 bits", orderedBook(32, {1, 1}), "damaged code lengths"},
        {"no dimensions", setup({{0, {1, 1}}}), "has no dimensions"},
        {"bad book after a lattice lookup", setup({{2, {2, 2, 2, 2}, 1}, {1, {1, 1, 1}}}),
         "codebook 1 of"},
        {"unknown lookup type", setup({{1, {1, 1}, 3}}), "unknown lookup type"},
        {"out of step", {5, 'v', 'o', 'r', 'b', 'i', 's', 0, 1, 2, 3, 4}, "out of step"},
        {"not a setup header", {3, 'v', 'o', 'r', 'b', 'i', 's', 0}, "missing"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string problem;
        bool passed = CVorbisSetup::check(c.packet.data(), c.packet.size(), problem);
        EXPECT_EQ(passed, *c.problem == '\0') << problem;
        EXPECT_NE(problem.find(c.problem), std::string::npos) << problem;
    }
    // Every cut of a good header is refused, none read past the end (run under AddressSanitizer).
    std::vector<unsigned char> whole = setup({good, {2, {2, 2, 2, 2}, 1}});
    for (size_t length = 0; length + 1 < whole.size(); ++length) {
        std::vector<unsigned char> cut(whole.begin(), whole.begin() + length);
        std::string problem;
        EXPECT_FALSE(CVorbisSetup::check(cut.data(), cut.size(), problem)) << length;
    }
}
