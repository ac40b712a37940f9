// What a saved run says of where it was made.
#pragma once

#include "Plan.h"
#include "Record.h"
#include "Target.h"

// The setting of this run: flavour, target, drawing area, the system's versions,
// the time, the options that shape the figures, and what the system tells of the
// machine (the host name only when the options ask for it).
Setting DescribeRun(const Plan &plan, const Target &target);

// "QuenzelRun <version> (<flavour>)", for --version.
std::string VersionLine();
