#include "Bench.h"

#include "Workloads.h"

BenchState Bench;

constexpr TestEntry TestTable[TEST_COUNT + 1] = {
    {nullptr, nullptr},
    {TestPixel, TEXT("Pixel")},
    {TestLine, TEXT("Line")},
    {TestRectangle, TEXT("Rectangle")},
    {TestRoundRect, TEXT("RoundRect")},
    {TestEllipse, TEXT("Ellipse")},
    {TestBitBlt, TEXT("BitBlt")},
    {TestTextOut, TEXT("TextOut")},
};

// The table's names, in the flavour's text, are the plain names the rest of the code uses.
static constexpr bool NamesAgree() {
    for (INT i = 1; i <= TEST_COUNT; i++) {
        const TCHAR *name = TestTable[i].Name;
        const char *plain = TEST_NAMES[i];
        while (*plain != 0 && *name == *plain) {
            name++;
            plain++;
        }
        if (*name != *plain) {
            return false;
        }
    }
    return true;
}
static_assert(NamesAgree(), "the test table's names differ from TEST_NAMES");

INT64 CountCalls(TestProc test, DWORD window, DWORD &elapsed) {
    return CountCallsOn<TickCounter>(test, window, elapsed);
}

void RunTest() {
    RunTestOn<TickCounter>();
}
