// One run measured in this process: the guards taken, the drawing area opened, the
// setting described, the tests that fit chosen and sampled.
#pragma once

#include "Plan.h"
#include "Record.h"

#include <string>
#include <vector>

// The exit code of a run stopped before its end, as a shell gives it for Ctrl+C.
constexpr int INTERRUPTED = 130;

// Why the run stopped before its end, in words.
std::string StopMessage();

// One run measured here, into report (with pictures asked for, each test's as a PNG
// file's bytes); 0, or the exit code with its message.
int MeasureRun(const Plan &plan, Report &report, std::string &snapshot,
               std::vector<std::string> &pictures, std::string &error);
