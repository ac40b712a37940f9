// Saved runs read as groups, to compare without measuring: the files each pattern
// names, every one a saved run of the group's setting and none an output of this
// command. Each returns false with a one-line message (bad input: exit code 2).
#pragma once

#include "Report.h"

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
