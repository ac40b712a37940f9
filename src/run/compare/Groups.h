// Groups of runs: a run's samples share the machine's state when it was made, so
// runs rather than samples are what a verdict between builds counts. A group holds
// the runs of one setting, its samples numbered by run.
#pragma once

#include "Options.h"
#include "Report.h"

#include <cstdint>
#include <string>
#include <vector>

// A test's samples' rates, in the order taken.
std::vector<double> Rates(const TestRun &test);

// The median of each run's values (runs[i] the run of values[i]; no runs: one run),
// in the order of the runs' numbers.
std::vector<double> RunMedians(const std::vector<double> &values, const std::vector<int> &runs);
// The runs' median rates of a test.
std::vector<double> RunMedians(const TestRun &test);
std::vector<double> RunMedians(const OldTest &test);

// The places (from 0, in the order of the runs' numbers) of the runs whose median lies
// far from the rest: beyond the rest's range by more than that range (at least 5 % of
// the rest's median). With three runs or more; such a run is named, never dropped.
std::vector<size_t> FarRuns(const std::vector<double> &medians);

// Each run's values, in the order of the runs' numbers.
std::vector<std::vector<double>> ByRun(const std::vector<double> &values,
                                       const std::vector<int> &runs);

// What differs between two settings that makes their figures unlike, as "window_ms
// 300 here, 1000 there"; empty when nothing does.
std::string SettingDifferences(const Setting &here, const Setting &there);

// The numbers of the runs whose samples a run or group holds, in order.
std::vector<int> RunNumbers(const Report &run);

// Run number's content, for knowing it again without an identity: a digest of its
// samples' counts, times and rates as a saved run holds them.
std::string ContentOf(const Report &run, int number);

// Adds a run, or a group, to a group (an empty one takes its setting): its runs are
// numbered after the group's, its tests joined by index. A run is known by its
// identity, or where it was saved without one by its content: one the group holds
// already is left out, so that a run met twice counts once. False, with a message,
// when its setting is not the group's (the differences, as SettingDifferences gives
// them), or when a run the group knows comes again with other samples (naming both
// files).
bool AddToGroup(Report &group, const Report &run, std::string &error);

// A group as an old run to compare with, under that name.
OldRun AsOld(const Report &report, const std::string &name);

// Where --alternate saves OTHER's group, beside --json's file: a.json gives
// a-other.json.
std::string OtherFileName(const std::string &json);

// Where --alternate's other build writes its pictures, beside --pictures' folder: pics
// gives pics-other.
std::string OtherFolderName(const std::string &folder);

// The options each run of a group is made with, every one spelt out, so that a
// config file or another build's defaults cannot make the runs differ.
std::vector<std::string> RunArguments(const Options &options);

// How long one run of these options may take before it is ended, milliseconds: twice
// its measuring, and a minute for the rest (a Wine prefix starting, the clocks
// measured, its file written).
std::uint32_t RunLimitMs(const Options &options);
