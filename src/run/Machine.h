// What a saved run says of where it was made.
#pragma once

#include "Options.h"
#include "Report.h"
#include "Target.h"

// The setting of this run: flavour, target, drawing area, the system's versions,
// the time, and the options that shape the figures.
Setting Describe(const Options &options, const Target &target);
