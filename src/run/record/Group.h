// Groups of runs: a run's samples share the machine's state when it was made, so runs
// rather than samples are what a verdict between builds counts. A group holds the runs
// of one setting, its samples numbered by run, each run counted once.
#pragma once

#include "Record.h"

#include <string>
#include <vector>

// A test's samples' rates, in the order taken, and each one's run.
std::vector<double> Rates(const TestRun &test);
std::vector<int> RunsOf(const TestRun &test);

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

// Adds that share of more's phases to sum.
void AddPhases(Phases &sum, const Phases &more, double share);

// A group as an old run to compare with, under that name.
OldRun AsOld(const Report &report, const std::string &name);
