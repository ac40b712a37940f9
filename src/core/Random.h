// The program's single pseudo-random source. It starts from a fixed state and is
// never seeded from anything else, so every run draws the same sequence.
#pragma once

#include "UTypes.h"

// Uniform integer in 0 .. n-1 (0 for n = 0); every call advances the generator
// by exactly one step, whatever n is.
INT RandomInt(INT n);

// Puts the generator back into the state it has when the process starts.
void RandomReset();

// Three draws, in this order: blue, green, red.
COLORREF RandomColor();

// A random colour, then width 0..15, then style PS_SOLID or PS_DASH; creates the pen.
HPEN RandomPen();
