// Several runs in one command, each in a fresh process with its own warm-up and
// samples, so that the machine's state at a run's start is drawn anew each time;
// with --alternate, this build's runs alternate with another build's.
#pragma once

#include "Plan.h"
#include "Record.h"

#include <string>

// Before measuring: OTHER starts, says it is a QuenzelRun of this flavour, and takes
// the runs' options; false with the cause.
bool CheckOther(const Plan &plan, std::string &error);

// Makes options.Runs runs, this build's and (alternately, from the second) OTHER's,
// each written by the run to a temporary file and read back into its group; the first
// run that fails or outlives its limit ends the making, and the groups keep the runs
// made before it. Returns 0; 1 when a run failed, with a message naming it; 130 when
// interrupted, with a message unless the run itself said so.
int MakeRuns(const Plan &plan, Report &mine, Report &other, std::string &error);
