// Saved runs read as groups, to compare without measuring: the files each pattern
// names, every one a saved run of the group's setting and none an output of this
// command (each returns false with a one-line message: bad input, exit code 2); and
// the picture files of two groups compared.
#pragma once

#include "Compare.h"
#include "Record.h"

#include <string>
#include <utility>
#include <vector>

using Outputs = std::vector<std::pair<std::string, std::string>>; // option, file

// --compare PATTERN: its files as one old group, named by the file when it is one.
bool ReadCompareGroup(const std::string &pattern, const Outputs &outputs, OldRun &group,
                      std::string &error);

// --from PATTERN...: every file of every pattern as one group of runs, in place of a
// measured run.
bool ReadFromGroup(const std::vector<std::string> &patterns, const Outputs &outputs, Report &group,
                   std::string &error);

// For each test that drew another picture than a group compared with, where both
// sides' picture files are found: how they differ, into its row, and with a folder, an
// image of it there (TEST-diff.png; against the second group TEST-diff-2.png...).
// notes: a line for each group where the pictures of such tests are not at hand. False
// with a message when an image cannot be written.
bool ShowDifferences(const Report &report, const std::vector<OldRun> &olds, Compared &compared,
                     const std::string &folder, std::vector<std::string> &notes,
                     std::string &error);
