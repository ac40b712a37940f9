// QuenzelRun's command line, in plain C++: each option is declared once, and its
// parsing, its range check and its help come from that one declaration.
#pragma once

#include "TestNames.h"

#include <cstdint>
#include <string>
#include <vector>

struct Options {
    bool Wide = false;      // the wide suite, not the seven
    std::vector<int> Tests; // indices into the suite's table, in table order
    std::string TestList;   // --tests as given
    std::uint32_t WindowMs = TEST_WINDOW_MS;
    int Repeat = 1;
    int OffscreenWidth = 0; // 0: draw on the window
    int OffscreenHeight = 0;
    int OffscreenDepth = 32; // bits per pixel: 1, 8, 16, 24 or 32
    bool Raw = false;
    bool Help = false;
    bool Version = false;
    bool List = false;       // print the suite's tests
    bool Quiet = false;      // no progress on stderr
    bool Host = false;       // the host name goes into the saved setting
    bool Wait = false;       // while another run measures, wait for it
    bool Concurrent = false; // measure even while another run measures
    double Confidence = 0.99;
    int Affinity = -1; // the logical processor to run on; -1: any
    std::uint32_t WarmupMs = 0;
    bool Shuffle = false; // each round's tests in an order drawn from ShuffleSeed
    std::uint32_t ShuffleSeed = 0;
    double Precision = 0; // relative half-width to reach; 0: --repeat samples
    std::uint32_t MaxSeconds = 600;
    double FailSlower = 0;    // per cent; 0: no gate
    bool FailPicture = false; // exit with PICTURE_DIFFERS when the sides drew differently
    std::string Json, Csv, Svg, Snapshot, BenchmarkJson;
    std::string Pictures;             // the folder each test's picture is written to, as a PNG file
    std::vector<std::string> Compare; // patterns, each naming one group of saved runs
    std::vector<std::string> From;    // patterns of saved runs taking the place of a measured one
    int Runs = 1;                     // runs, each in a fresh process
    std::string Alternate;            // another build whose runs alternate with these
};

// Reads the arguments (argv[1] on), and the file --config names. Returns false with
// a one-line message naming the option and the value when they are not understood.
bool ParseOptions(int argc, const char *const argv[], Options &options, std::string &error);

// The options, their ranges and the exit codes, for --help.
std::string Usage();

// Whether name matches pattern, in any case: * stands for any run of characters, ?
// for any one.
bool Matches(const std::string &pattern, const std::string &name);

// The name of test i of the seven (1 to TEST_COUNT) or of the wide suite (1 to WIDE_COUNT).
std::string TestName(bool wide, int i);

// The tests chosen of the suite, one a line with its index and what it draws, under a
// header for each family and its count; the handheld flavour counts only what its
// platform offers.
std::string ListText(bool wide, bool handheld, const std::vector<int> &tests);

// The tests a --tests list names in a suite, as ParseOptions reads it; false with a
// message naming what matches no test.
bool ChooseTests(const std::string &list, bool wide, std::vector<int> &tests, std::string &error);
