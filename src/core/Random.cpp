#include "Random.h"

#ifdef UNDER_CE

// The handheld runtime's generator: MT19937 from seed 0.
static std::mt19937 Generator(0);

INT RandomInt(INT n) {
    const INT64 x = static_cast<UINT32>(Generator());
    if (n < 0) {
        n++;
    }
    // Upper half of the signed 64-bit product.
    return static_cast<INT>((x * n) >> 32);
}

void RandomReset() {
    Generator.seed(0);
}

RandomState RandomSaved() {
    return Generator;
}

RandomState RandomStateFrom(DWORD seed) {
    return std::mt19937(seed);
}

void RandomRestore(const RandomState &state) {
    Generator = state;
}

#else

// The desktop runtime's generator: a 32-bit LCG from seed 0.
static DWORD Seed;

INT RandomInt(INT n) {
    Seed = Seed * 134775813u + 1;
    // Upper half of the unsigned 64-bit product; n's bits are read as unsigned.
    return static_cast<INT>((static_cast<UINT64>(Seed) * static_cast<DWORD>(n)) >> 32);
}

void RandomReset() {
    Seed = 0;
}

RandomState RandomSaved() {
    return Seed;
}

RandomState RandomStateFrom(DWORD seed) {
    return seed;
}

void RandomRestore(const RandomState &state) {
    Seed = state;
}

#endif
