// The sample loop: rounds of samples, each round from a fresh start as the
// interactive program's run is, until the run has the samples it asks for.
#pragma once

#include "Options.h"
#include "Report.h"
#include "Target.h"

// The tick counter's step in milliseconds, and (with --raw) the cost of one random
// draw and of one tick reading, measured now into the setting.
void MeasureClocks(const Options &options, Setting &set);

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

// Takes every sample into report.Tests (which names the tests to run). With
// --snapshot, the drawing area after the last round's first test goes to snapshot
// (empty when no copy can be made). False, with a message, when the run cannot go on
// or was interrupted.
bool RunSamples(const Options &options, const Target &target, Report &report, std::string &snapshot,
                std::string &error);
