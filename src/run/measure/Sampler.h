// The sample loop: rounds of samples, each round from a fresh start as the
// interactive program's run is, until the run has the samples it asks for.
#pragma once

#include "Options.h"
#include "Process.h"
#include "Report.h"
#include "Target.h"

// The tick counter's step in milliseconds, and (with --raw) the cost of one random
// draw and of one tick reading, measured now into the setting.
void MeasureClocks(const Options &options, Setting &set);

// The picture test draws, as RunSamples records it after measuring: its first calls
// on the cleared surface (and what a test that reads has read), their pixels and
// digest, drawn twice to know whether it varies.
Picture DrawPicture(const Options &options, const Target &target, INT test, Pixels &pixels);

// Takes every sample into report.Tests (which names the tests to run), and then each
// test's picture; with --pictures, each as a PNG file's bytes into pictures, in the
// tests' order. With --snapshot, the drawing area after the last round's first test
// goes to snapshot (empty when no copy can be made). False, with a message, when the
// run cannot go on or was interrupted.
bool RunSamples(const Options &options, const Target &target, Report &report, std::string &snapshot,
                std::vector<std::string> &pictures, std::string &error);
