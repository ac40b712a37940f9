// A command of several runs as it goes: each run's lines read as they come, the steps
// they end timed, and the time left of all the runs shown; a run's other lines shown
// once each, however many runs say them.
#pragma once

#include "Plan.h"
#include "Progress.h"
#include "UTypes.h"

#include <string>
#include <vector>

struct Watch {
    const Plan &Asked;
    bool Console;
    Pace Speed;
    int Tests;                // a run's tests, as its lines tell
    double OverheadMs = 2000; // a run's time besides its steps, a guess until one ends
    int Ended = 0;            // runs ended
    std::vector<std::string> Said = {};
    std::string Partial = {}; // the end of what was read, not a whole line yet
    HANDLE Lines = INVALID_HANDLE_VALUE;
    int Run = 0;
    ULONGLONG Launched = 0, First = 0, Last = 0, Shown = 0;
    StepKind FirstKind = SAMPLE_STEP;
    double LeftMs = -1; // what the run said it had left, at Last

    // The runs from run from on that draw pictures: each build's first.
    int PictureRuns(int from) const;
    // The command's time left: the running run's own word (or, before it says any, its
    // steps at the pace so far), and the runs still to come.
    double CommandLeftMs(ULONGLONG now) const;
    // The command's line, on a console each time, else at most every ten seconds.
    void Show(ULONGLONG now, bool force);
    // Run run begins, its lines read from that file as they come.
    void Begin(int run, HANDLE lines);
    // A line of the running run: a step's end and the time left it tells, or a line to
    // show once.
    void Line(const std::string &line, ULONGLONG now);
    // What the run wrote since the last look, line by line.
    void Read();
    // The run ended: its last lines read, and its time besides its steps learned.
    void End();
};
