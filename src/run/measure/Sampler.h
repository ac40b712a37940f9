// The sample loop: rounds of samples, each round from a fresh start as the interactive
// program's run is, until the run has the samples it asks for; then each test's
// picture.
#pragma once

#include "Plan.h"
#include "Record.h"
#include "Target.h"

#include <string>
#include <vector>

// Takes every sample into report.Tests (which names the tests to run), and then each
// test's picture; with pictures asked for, each as a PNG file's bytes into pictures,
// in the tests' order. With a snapshot asked for, the drawing area after the last
// round's first test goes to snapshot (empty when no copy can be made). False, with a
// message, when the run cannot go on or was interrupted.
bool RunSamples(const Plan &plan, const Target &target, Report &report, std::string &snapshot,
                std::vector<std::string> &pictures, std::string &error);
