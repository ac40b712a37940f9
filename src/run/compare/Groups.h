// Groups of runs: a run's samples share the machine's state when it was made, so
// runs rather than samples are what a verdict between builds counts. A group holds
// the runs of one setting, its samples numbered by run.
#pragma once

#include "Options.h"
#include "Report.h"

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

// Each run's values, in the order of the runs' numbers.
std::vector<std::vector<double>> ByRun(const std::vector<double> &values,
                                       const std::vector<int> &runs);

// What differs between two settings that makes their figures unlike, as "window_ms
// 300 here, 1000 there"; empty when nothing does.
std::string SettingDifferences(const Setting &here, const Setting &there);

// Adds a run, or a group, to a group (an empty one takes it as it is): its runs are
// numbered after the group's, its tests joined by index. False, with the
// differences (as SettingDifferences gives them), when its setting is not the group's.
bool AddToGroup(Report &group, const Report &run, std::string &error);
bool AddToGroup(OldRun &group, const OldRun &run, std::string &error);

// A group as an old run to compare with, under that name.
OldRun AsOld(const Report &report, const std::string &name);

// Where --alternate saves OTHER's group, beside --json's file: a.json gives
// a-other.json.
std::string OtherFileName(const std::string &json);

// The options each run of a group is made with, every one spelt out, so that a
// config file or another build's defaults cannot make the runs differ.
std::vector<std::string> RunArguments(const Options &options);
