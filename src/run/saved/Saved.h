// A run saved and read back: the files a run is written to (JSON, CSV, the common C++
// micro-benchmark tools' layout), and the one reader of saved runs.
#pragma once

#include "Compare.h"
#include "Record.h"

#include <string>
#include <vector>

std::string ToJson(const Report &report, const std::vector<OldRun> &olds, const Compared &compared);
inline std::string ToJson(const Report &report, const std::vector<OldRun> &olds) {
    return ToJson(report, olds, CompareAll(report, olds));
}
std::string ToCsv(const Report &report, const std::vector<OldRun> &olds, const Compared &compared);
inline std::string ToCsv(const Report &report, const std::vector<OldRun> &olds) {
    return ToCsv(report, olds, CompareAll(report, olds));
}
// The run in the layout of the common C++ micro-benchmark tools: one entry per
// sample and the aggregates, times per call in nanoseconds.
std::string ToBenchmarkJson(const Report &report);

// Reads a run that ToJson wrote (or any earlier version) for --from, --compare and
// --runs alike: its setting, samples and raw samples, every field checked against its
// kind and range and each sample against its window; false with a message naming the
// field and the test.
bool ReadRun(const std::string &json, Report &run, std::string &error);
