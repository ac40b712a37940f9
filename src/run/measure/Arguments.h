// How each run of a group is started: the options it is made with, every one spelt
// out, and how long it may take. Plain C++.
#pragma once

#include "Plan.h"

#include <cstdint>
#include <string>
#include <vector>

// The options each run of a group is made with, every one spelt out, so that a
// config file or another build's defaults cannot make the runs differ.
std::vector<std::string> RunArguments(const Plan &plan);

// How long one run of this plan may take before it is ended, milliseconds: twice its
// measuring, and a minute for the rest (a Wine prefix starting, the clocks measured,
// its file written).
std::uint32_t RunLimitMs(const Plan &plan);
