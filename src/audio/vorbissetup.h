// Reads a Vorbis setup header (codebooks, floors, residues) the way the decoding library does,
// before the library sees it, and refuses what the library would mishandle. Decodes no audio
// and keeps nothing of the header. Any thread.
#pragma once

#include <cstddef>
#include <string>

class CVorbisSetup {
public:
    // False with `problem` set for a header that is cut short or malformed, a codebook without
    // dimensions, or a codebook whose code lengths do not make a complete prefix code: the
    // library fails to set up such a book, keeps the half-made books, and on its next attempt
    // divides by their zero dimensions.
    static bool check(const unsigned char* packet, size_t bytes, std::string& problem);
};
