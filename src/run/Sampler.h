// The sample loop: every test of the run, as often as asked, each sample from a
// fresh start.
#pragma once

#include "Options.h"
#include "Report.h"
#include "Target.h"

// Takes every sample into report.Tests (which names the tests to run). With
// --snapshot, the drawing area after the last sample's first test goes to snapshot.
// False, with a message, when the run cannot go on.
bool RunSamples(const Options &options, const Target &target, Report &report, std::string &snapshot,
                std::string &error);
