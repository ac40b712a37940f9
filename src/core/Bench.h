// The benchmark's state, its test table and the timed runner.
#pragma once

#include "UTypes.h"

extern BenchState Bench;
extern const TestEntry TestTable[TEST_COUNT + 1];

// Calls test back to back until strictly more than window milliseconds have
// passed on the tick counter; returns the number of calls (64-bit: a long window on
// a fast platform passes 2^31) and, in elapsed, the
// milliseconds they took. The loop does nothing else: the call, the count and one
// clock reading per call.
INT64 CountCalls(TestProc test, DWORD window, DWORD &elapsed);

// Runs test Bench.StepIndex for just over TEST_WINDOW_MS on the main window and
// stores its score (calls div 10) in Bench.TestResults[Bench.StepIndex].
void RunTest();
