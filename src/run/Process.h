// What QuenzelRun's process is told by the system and asks of it: the run stopped
// from outside, and the processor it runs on.
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
