// QuenzelRun's command line, in plain C++: each option is declared once, and its
// parsing, its range check and its help come from that one declaration. What to measure
// is a plan of its own; the rest says what to show, save and compare.
#pragma once

#include "Plan.h"

#include <string>
#include <vector>

struct Options {
    Plan Measure;         // what to measure, and how
    std::string TestList; // --tests as given
    bool Help = false;
    bool Version = false;
    bool List = false;        // print the suite's tests
    double FailSlower = 0;    // per cent; 0: no gate
    bool FailPicture = false; // exit with code 5 when the sides drew differently
    std::string Json, Csv, Svg, Snapshot, BenchmarkJson;
    std::vector<std::string> Compare; // patterns, each naming one group of saved runs
    std::vector<std::string> From;    // patterns of saved runs taking the place of a measured one
};

// Reads the arguments (argv[1] on), and the file --config names. Returns false with
// a one-line message naming the option and the value when they are not understood.
bool ParseOptions(int argc, const char *const argv[], Options &options, std::string &error);

// The options, their ranges and the exit codes, for --help.
std::string Usage();
