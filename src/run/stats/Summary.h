// What a run's samples say, test by test: the scores' median, range and spread, the
// rates' median and the reach of its interval, the ceiling's efficiency; over a group,
// each run's median and the runs far from the rest. Every output shows these.
#pragma once

#include "Record.h"

#include <vector>

// Fills the summaries and the total from the samples.
void Summarise(Report &report);

// How far the confidence interval of the test's median rate reaches from that
// median, relative to it; 0 when the samples are too few for an interval.
double HalfWidthOf(const TestRun &test, double confidence);

// The median of each run's values (runs[i] the run of values[i]; no runs: one run),
// in the order of the runs' numbers.
std::vector<double> RunMedians(const std::vector<double> &values, const std::vector<int> &runs);
// The runs' median rates of a test.
std::vector<double> RunMedians(const TestRun &test);
std::vector<double> RunMedians(const OldTest &test);

// Each run's values, in the order of the runs' numbers.
std::vector<std::vector<double>> ByRun(const std::vector<double> &values,
                                       const std::vector<int> &runs);

// The places (from 0, in the order of the runs' numbers) of the runs whose median lies
// far from the rest: beyond the rest's range by more than that range (at least 5 % of
// the rest's median). With three runs or more; such a run is named, never dropped.
std::vector<size_t> FarRuns(const std::vector<double> &medians);
