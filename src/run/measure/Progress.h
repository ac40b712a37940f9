// The lines QuenzelRun shows on stderr while it works, and the time they tell is left:
// a run's work is steps of three kinds (pictures, warm-ups and samples), each kind
// taking the time the plan gives it until steps of it are measured, then theirs. One
// run tells its own time left; a command of several runs reads each run's lines and
// tells the time left of them all. Plain C++.
#pragma once

#include "Plan.h"
#include "Record.h"

#include <string>

enum StepKind { PICTURE_STEP, WARMUP_STEP, SAMPLE_STEP, STEP_KINDS };

// A step's time of each kind in milliseconds: as planned until one is measured, then
// the mean of those measured.
struct Pace {
    double Ms[STEP_KINDS] = {};
    int Measured[STEP_KINDS] = {};
    void Add(StepKind kind, double ms);
};

// The pace a plan sets before anything is measured: a warm-up or a sample its window
// and half a tick step (and with --raw, a replay as long again), a picture pictureMs.
Pace PlannedPace(const Plan &plan, double tickStepMs, double pictureMs);

// A run's steps of each kind: its pictures (when it draws them), warm-ups and
// samples (--precision's further samples not counted).
struct Steps {
    int Of[STEP_KINDS] = {};
};
Steps RunSteps(const Plan &plan, int tests, bool pictures);

// The milliseconds these steps take at this pace.
double MsFor(const Steps &steps, const Pace &pace);

// "2 min 05 s left", with "at most " before it when it is a bound.
std::string TimeLeft(double seconds, bool bound);

// The line shown after a sample. With --precision it shows the test's half-width as
// the rule last found it (0: none yet) against the one asked for, and the time left as
// what it is, an upper bound.
std::string SampleLine(const TestRun &run, const Plan &plan, double halfWidth,
                       const std::string &timeLeft);
// The line shown after a test's warm-up or its picture: "warm-up: 3 of 107 tests, ...".
std::string StepLine(StepKind kind, size_t done, size_t tests, const std::string &timeLeft);

// What a line a run showed tells: the kind of step it ended, the seconds it said were
// left and, for a picture or a warm-up, how many tests the run has (else 0); false for
// any other line.
bool ReadProgress(const std::string &line, StepKind &kind, double &secondsLeft, int &tests);

// The milliseconds the runs still to come of a command take: each run's warm-ups and
// samples for that many tests, the pictures of those that draw them, and its time
// besides its steps (its process starting and ending), at this pace.
double LaterRunsMs(const Plan &plan, int tests, int runs, int pictureRuns, const Pace &pace,
                   double overheadMs);

// How a command of several runs spent its time, from the phases its runs saved and its
// wall time: "20 runs took 16 min 43 s: 642 s (64 %) in measuring windows; ...".
std::string TimeSpentLine(const Phases &spent, double wallMs, int runs);

// Shows the line: rewritten in place on a console, one line each otherwise.
void ShowProgress(const std::string &line, bool console);
