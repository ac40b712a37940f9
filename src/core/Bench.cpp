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

void RunTest() {
    const TestProc test = TestTable[Bench.StepIndex].Proc;

    Bench.DrawDC = GetDC(Bench.MainWindow);
    // The priority is raised before the clock is first read and lowered only after
    // the score is stored, so neither change falls into the measured window.
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);

    const DWORD start = GetTickCount();
    INT count = 0;
    DWORD elapsed;
    do {
        test();
        count++;
        // Unsigned difference: still right when the tick counter wraps to 0.
        elapsed = GetTickCount() - start;
    } while (elapsed <= TEST_WINDOW_MS);

    Bench.TestResults[Bench.StepIndex] = count / 10;
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
    ReleaseDC(Bench.MainWindow, Bench.DrawDC);
}
