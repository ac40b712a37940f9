// The line QuenzelRun shows on stderr after each sample, and the time it tells is left.
#pragma once

#include "Plan.h"
#include "Record.h"

#include <string>
#include <vector>

// The seconds the samples still owed to --repeat will take: each test's at the time its
// own samples took so far (a test not sampled yet at the mean of those that were), and
// the time between samples (fresh starts, these lines) in proportion. spentMs holds the
// time each test spent in its samples and their replays; elapsedMs is the time since
// the first sample began, which a warm-up before it does not count.
double SecondsLeft(const std::vector<TestRun> &tests, const std::vector<double> &spentMs,
                   int repeat, double elapsedMs);

// The line shown after each sample. With --precision it shows the test's half-width as
// the rule last found it (0: none yet) against the one asked for, and the time left as
// what it is, an upper bound.
std::string ProgressLine(const TestRun &run, const Plan &plan, double halfWidth,
                         double secondsLeft);

// Shows the line: rewritten in place on a console, one line each otherwise.
void ShowProgress(const std::string &line, bool console);
