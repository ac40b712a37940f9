#include "Bench.h"

#include "Workloads.h"

BenchState Bench;

const TestEntry TestTable[TEST_COUNT + 1] = {
    {nullptr, nullptr},
    {TestPixel, TEXT("Pixel")},
    {TestLine, TEXT("Line")},
    {TestRectangle, TEXT("Rectangle")},
    {TestRoundRect, TEXT("RoundRect")},
    {TestEllipse, TEXT("Ellipse")},
    {TestBitBlt, TEXT("BitBlt")},
    {TestTextOut, TEXT("TextOut")},
};

INT64 CountCalls(TestProc test, DWORD window, DWORD &elapsed) {
    return CountCallsOn<TickCounter>(test, window, elapsed);
}

void RunTest() {
    RunTestOn<TickCounter>();
}
