// A run's samples one at a time: the clocks, a scored sample and its replay, a fresh
// start, and a test's picture.
#pragma once

#include "Plan.h"
#include "Record.h"
#include "Target.h"

#include <string>
#include <vector>

// The most calls a raw replay draws ahead at once.
constexpr INT MAX_BLOCK = 4096;

// The performance counter: now, its rate, and a span of it in milliseconds.
LONGLONG CounterNow();
LONGLONG CounterHz();
double Milliseconds(LONGLONG ticks);

// The tick counter's step in milliseconds, and (with --raw) the cost of one random
// draw and of one tick reading, measured now into the setting.
void MeasureClocks(const Plan &plan, Setting &set);

// A test of the plan's suite made ready on a DC of the target (a wide test's objects
// and its own start are made here, untimed), and put away again.
TestProc BeginTest(const Plan &plan, const Target &target, INT test);
void EndTest(const Plan &plan, const Target &target);

// One measurement as RunTest makes it: the same loop and window rule. reached says
// whether its drawing reached the drawing area, checked once the window has ended.
Sample ScoreSample(const Plan &plan, const Target &target, INT test, DWORD window, bool &reached);

// The platform's ceiling on the very calls of a scored sample, from the generator state
// that sample started in: its random values drawn ahead a block at a time, then only
// the block's platform calls timed; reached as for a scored sample.
RawSample ReplaySample(const Plan &plan, const Target &target, INT test, INT64 calls,
                       std::vector<INT> &tape, bool &reached);

// A fresh start's state: the generator from its beginning, the source bitmap built
// anew from its first draws.
void FreshStart(bool first);

// The picture a test draws, as RunSamples records it after measuring: its first calls
// on the cleared surface (and what a test that reads has read), their pixels and
// digest, drawn twice to know whether it varies.
Picture DrawPicture(const Plan &plan, const Target &target, INT test, Pixels &pixels);
