// The benchmark's state, its test table and the timed runner.
#pragma once

#include "UTypes.h"

extern BenchState Bench;
extern const TestEntry TestTable[TEST_COUNT + 1];

// The tick counter as the timed loop reads it. A test gives the loop a clock of known
// readings in its place, as a template argument: the shipped loop calls GetTickCount
// directly, with nothing in between.
struct TickCounter {
    static DWORD Now() {
        return GetTickCount();
    }
};

// Calls test back to back until strictly more than window milliseconds have
// passed on Clock; returns the number of calls (64-bit: a long window on a fast
// platform passes 2^31) and, in elapsed, the milliseconds they took. The loop does
// nothing else: the call, the count and one clock reading per call.
template <class Clock> INT64 CountCallsOn(TestProc test, DWORD window, DWORD &elapsed) {
    const DWORD start = Clock::Now();
    INT64 count = 0;
    DWORD now;
    do {
        test();
        count++;
        // Unsigned difference: still right when the tick counter wraps to 0.
        now = Clock::Now() - start;
    } while (now <= window);
    elapsed = now;
    return count;
}

// CountCallsOn the tick counter.
INT64 CountCalls(TestProc test, DWORD window, DWORD &elapsed);

// Runs test Bench.StepIndex for just over TEST_WINDOW_MS on the main window and
// stores its score (calls div 10) in Bench.TestResults[Bench.StepIndex].
template <class Clock> void RunTestOn() {
    const TestProc test = TestTable[Bench.StepIndex].Proc;

    Bench.DrawDC = GetDC(Bench.MainWindow);
    // The priority is raised before the clock is first read and lowered only after
    // the score is stored, so neither change falls into the measured window.
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);

    DWORD elapsed;
    const INT64 count = CountCallsOn<Clock>(test, TEST_WINDOW_MS, elapsed);

    Bench.TestResults[Bench.StepIndex] = static_cast<INT>(count / 10);
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
    ReleaseDC(Bench.MainWindow, Bench.DrawDC);
}

// RunTestOn the tick counter.
void RunTest();
