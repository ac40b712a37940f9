// What a person reads of a run: the table printed at the end, and the chart.
#pragma once

#include "Compare.h"
#include "Record.h"

#include <string>
#include <vector>

// The table printed at the end; with old runs, one block per old run: each test's
// ratio of the rates with its interval, verdict and p-value, and a summary of the
// block. Tests the gate fails at failSlower per cent (0: no gate) are marked.
std::string ToTable(const Report &report, const std::vector<OldRun> &olds, const Compared &compared,
                    double failSlower = 0);
inline std::string ToTable(const Report &report, const std::vector<OldRun> &olds,
                           double failSlower = 0) {
    return ToTable(report, olds, CompareAll(report, olds), failSlower);
}

// With old runs, each test's ratio new/old with its interval around 1, coloured by
// the verdict; without, each test's samples beside its median.
std::string ToSvg(const Report &report, const std::vector<OldRun> &olds, const Compared &compared);
inline std::string ToSvg(const Report &report, const std::vector<OldRun> &olds) {
    return ToSvg(report, olds, CompareAll(report, olds));
}

// How two pictures differ, in words: "12 pixels in x 40 to 52, y 10 to 20, by at most 1
// in a channel".
std::string DifferenceText(const PictureDifference &difference);
