// The wide suite's drawing: each test's set-up, made before its timed window and
// untimed, its workload, called back to back by the same loop as the seven, and its
// release. The workloads draw on Bench.DrawDC.
#pragma once

#include "UTypes.h"
#include "WideTable.h"

// Makes wide test i ready on Bench.DrawDC (objects made and selected, shapes placed,
// the random source at the test's own start) and gives its workload.
TestProc WideBegin(INT test);

// Puts back on Bench.DrawDC what WideBegin changed, and deletes what it made.
void WideEnd();
