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
    const DWORD start = GetTickCount();
    INT64 count = 0;
    DWORD now;
    do {
        test();
        count++;
        // Unsigned difference: still right when the tick counter wraps to 0.
        now = GetTickCount() - start;
    } while (now <= window);
    elapsed = now;
    return count;
}

void RunTest() {
    const TestProc test = TestTable[Bench.StepIndex].Proc;

    Bench.DrawDC = GetDC(Bench.MainWindow);
    // The priority is raised before the clock is first read and lowered only after
    // the score is stored, so neither change falls into the measured window.
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);

    DWORD elapsed;
    const INT64 count = CountCalls(test, TEST_WINDOW_MS, elapsed);

    Bench.TestResults[Bench.StepIndex] = static_cast<INT>(count / 10);
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
    ReleaseDC(Bench.MainWindow, Bench.DrawDC);
}
