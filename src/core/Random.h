// The program's single pseudo-random source. It starts from a fixed state and is
// never seeded from anything else, so every run draws the same sequence.
#pragma once

#include "UTypes.h"

#ifdef UNDER_CE
#include <random>
#endif

// Uniform integer in 0 .. n-1 (0 for n = 0); every call advances the generator
// by exactly one step, whatever n is.
INT RandomInt(INT n);

// Puts the generator back into the state it has when the process starts.
void RandomReset();

// The generator's whole state, to draw a stretch of the sequence a second time.
#ifdef UNDER_CE
using RandomState = std::mt19937;
#else
using RandomState = DWORD;
#endif
RandomState RandomSaved();
// The state the generator has when started from seed (RandomReset's is seed 0).
RandomState RandomStateFrom(DWORD seed);
void RandomRestore(const RandomState &state);

// Where a drawing procedure takes its random values from. LiveDraw is the
// generator itself; the workloads can also be given values drawn ahead of time.
struct LiveDraw {
    static INT Int(INT n) {
        return RandomInt(n);
    }
};

// Three draws, in this order: blue, green, red. Separate statements: the order of
// draws must not depend on the order in which the compiler evaluates arguments.
template <class Draw = LiveDraw> COLORREF RandomColor() {
    const INT blue = Draw::Int(256);
    const INT green = Draw::Int(256);
    const INT red = Draw::Int(256);
    return RGB(red, green, blue);
}

// A random colour, then width 0..15, then style PS_SOLID or PS_DASH; creates the pen.
template <class Draw = LiveDraw> HPEN RandomPen() {
    const COLORREF color = RandomColor<Draw>();
    const INT width = Draw::Int(16);
    const INT style = Draw::Int(2); // PS_SOLID (0) or PS_DASH (1)
    return CreatePen(style, width, color);
}
