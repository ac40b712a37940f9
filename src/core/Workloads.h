// The seven workloads. Each draws exactly one randomly placed, sized and coloured
// primitive on Bench.DrawDC and leaves the DC's objects and colours as it found them.
#pragma once

#include "Random.h"
#include "UTypes.h"

#include <cstddef>

void TestPixel();
void TestLine();
void TestRectangle();
void TestRoundRect();
void TestEllipse();
void TestBitBlt();
void TestTextOut();

// To time the platform calls of the workloads alone, their random values can be
// drawn ahead of time: RecordProcs[i] is workload i drawing from the generator as
// usual and appending every value to DrawTape; ReplayProcs[i] makes the same calls
// with the values read back from DrawTape. DrawTapeAt is the position on the tape;
// the caller provides a tape of MAX_DRAWS_PER_CALL values per call.
constexpr INT MAX_DRAWS_PER_CALL = 22;
extern INT *DrawTape;
extern size_t DrawTapeAt;

// The two sources of values on the tape: drawn from the generator and recorded, or
// read back.
struct RecordDraw {
    static INT Int(INT n) {
        const INT value = RandomInt(n);
        DrawTape[DrawTapeAt++] = value;
        return value;
    }
};
struct ReplayDraw {
    static INT Int(INT) {
        return DrawTape[DrawTapeAt++];
    }
};
extern const TestProc RecordProcs[TEST_COUNT + 1];
extern const TestProc ReplayProcs[TEST_COUNT + 1];
