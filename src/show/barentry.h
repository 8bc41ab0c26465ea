// One record of a bar file: nine 4-byte fields kept exactly as the file holds them. Gives them
// no meaning; nothing in the program reads them after loading.
#pragma once

#include <cstdint>

// Whether a field is an integer or a float is not known, so each is held as its raw 32 bits:
// an unsigned integer keeps any bit pattern unchanged, where a float copy might not (NaNs).
struct CBarEntry {
    uint32_t sp;
    uint32_t sta;
    uint32_t sb;
    uint32_t sti;
    uint32_t lp;
    uint32_t lta;
    uint32_t lb;
    uint32_t lti;
    uint32_t ei;
};
