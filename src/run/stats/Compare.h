// A run compared with runs saved before, test by test: the ratio of their rates with its
// interval and verdict, computed once for every output, and the tests a gate fails.
#pragma once

#include "Record.h"
#include "Stats.h"

#include <optional>
#include <string>
#include <vector>

// The test of that index in an old run, or null; of that name.
const OldTest *Find(const OldRun &old, int index);
const OldTest *FindName(const OldRun &old, const std::string &name);

// A test against the same test of an old run. With several runs on both sides the
// run is the unit: the runs' median rates are compared, since a run's samples share
// the machine's state when it was made. Otherwise the samples are, which weighs only
// the noise within a run. Runs saved without their samples' rates compare by the
// medians of the scores, with no verdict.
Comparison CompareTest(const TestRun &now, const OldTest &before, double confidence);

// A test compared with the same test of an old run.
struct ComparisonRow {
    const OldRun &Old;
    const TestRun &Now;
    const OldTest &Before;
    Comparison Result;
    double Confidence;
    // Both sides' pictures are known, neither varies, and they differ: the ratio
    // compares two different drawings, and no verdict is given.
    bool OtherPicture = false;
    // Where both sides' picture files were found: how they differ.
    std::optional<PictureDifference> Difference = {};
};

// The row's verdict in words, or why there is none.
std::string VerdictText(const ComparisonRow &row);

// Each test that both runs hold, compared, in the new run's order.
std::vector<ComparisonRow> Comparisons(const Report &report, const OldRun &old);

// Every old group's comparisons with the report, in the olds' order: what the table,
// the files, the chart and the gate show, computed once (one comparison of long runs
// takes a good part of a second).
using Compared = std::vector<std::vector<ComparisonRow>>;
Compared CompareAll(const Report &report, const std::vector<OldRun> &olds);

// The tests the gate fails among these comparisons: called slower, with the whole
// interval of the ratio below 1 - percent / 100.
std::vector<std::string> SlowerBeyond(const std::vector<ComparisonRow> &rows, double percent);
inline std::vector<std::string> SlowerBeyond(const Report &report, const OldRun &old,
                                             double percent) {
    return SlowerBeyond(Comparisons(report, old), percent);
}

// The tests among these comparisons whose two sides drew different pictures.
std::vector<std::string> OtherPictures(const std::vector<ComparisonRow> &rows);
