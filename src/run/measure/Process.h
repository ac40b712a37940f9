// What QuenzelRun's process is told by the system and asks of it: the run stopped
// from outside, the processor it runs on, and its turn to measure.
#pragma once

#include "UTypes.h"

#include <string>

// Runs the process on that logical processor only; false, with a message, when
// the machine has no such processor or the system refuses.
bool PinToProcessor(INT processor, std::string &error);

// Why a run stopped before its end: Ctrl+C or a closed console (once
// StopOnConsoleEvents has been called), the window closed, or a sample's drawing
// that did not reach the drawing area. The run stops after the sample under way,
// which is not scored; 0 while it goes on.
enum StopReason : LONG { CONSOLE_STOPPED = 1, WINDOW_CLOSED, DRAWING_FAILED };
extern volatile LONG Interrupted;
void StopOnConsoleEvents();
// Records why the run stops, unless a reason is recorded already.
void StopRun(StopReason reason);

// One run measures at a time: two at once slow each other unseen. Takes the guard
// that says a run is measuring, a mutex of the whole machine (one session's where the
// system denies that; under Wine, one prefix's), first waiting for the run that holds
// it to end when told to. True when it is this process's now, held until it ends.
bool TakeMeasuringGuard(bool wait);
