// QuenzelRun's command line.
#pragma once

#include "Bench.h"

#include <string>
#include <vector>

struct Options {
    std::vector<INT> Tests; // indices into the test table, in table order
    DWORD WindowMs = TEST_WINDOW_MS;
    INT Repeat = 1;
    INT OffscreenWidth = 0; // 0: draw on the window
    INT OffscreenHeight = 0;
    bool Raw = false;
    bool Help = false;
    bool Quiet = false; // no progress on stderr
    bool Host = false;  // the host name goes into the saved setting
    double Confidence = 0.99;
    INT Affinity = -1; // the logical processor to run on; -1: any
    DWORD WarmupMs = 0;
    bool Shuffle = false; // each round's tests in an order drawn from ShuffleSeed
    DWORD ShuffleSeed = 0;
    double Precision = 0; // relative half-width to reach; 0: --repeat samples
    DWORD MaxSeconds = 600;
    std::string Json, Csv, Svg, Snapshot, BenchmarkJson;
    std::vector<std::string> Compare;
    double FailSlower = 0; // per cent; 0: no gate
};

// Reads the arguments (argv[1] on). Returns false with a one-line message naming
// the culprit when they are not understood.
bool ParseOptions(int argc, const char *const argv[], Options &options, std::string &error);

// The options, for --help.
std::string Usage();

// The display name of test i as 8-bit text.
std::string TestName(INT i);
