// The wide suite's drawing: each test's set-up, made before its timed window and
// untimed, its workload, called back to back by the same loop as the seven, and its
// release. The workloads draw on Bench.DrawDC.
#pragma once

#include "UTypes.h"
#include "WideTable.h"

// Makes wide test i ready on Bench.DrawDC (objects made and selected, shapes placed,
// the random source at the test's own start) and gives its workload.
TestProc WideBegin(INT test);

// The workload of the test begun, its random values drawn and recorded on DrawTape, or
// read back from it (see Workloads.h): the same calls, for the ceiling's replay.
TestProc WideRecording();
TestProc WideReplaying();

// The box wide test i's shapes need on Bench.DrawDC, in pixels: a text's in its font.
// A surface smaller than that skips the test.
SIZE WideExtent(INT test);

// After a test's calls, before WideEnd: what a test that reads has read, drawn on
// Bench.DrawDC at its top-left corner, so that its picture shows it (GetPixel's last
// values as squares of 8 x 8 pixels, a copy's monochrome target, the bits GetDIBits
// returned); nothing for a test that draws.
void WideShow();

// Puts back on Bench.DrawDC what WideBegin changed, and deletes what it made.
void WideEnd();
