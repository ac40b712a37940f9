// QuenzelRun's results: samples, summaries, the setting they were taken in, and
// the forms they are shown and saved in.
#pragma once

#include "Bench.h"

#include <string>
#include <vector>

struct Sample {
    INT64 Count;      // workload calls in the window
    DWORD TickMs;     // the window on the tick counter
    double QpcMs;     // the same window on the performance counter
    INT PerSecond;    // the score: count div 10 for the 10 s window, else count * 1000 / TickMs
    double Rate;      // calls per second on the performance counter
    double CpuMs = 0; // the thread's processor time in the window
};

// The ceiling: the very calls of scored sample Of (1-based), replayed with their
// random values drawn ahead, only the platform calls timed.
struct RawSample {
    INT64 Calls;         // platform calls timed: as many as the scored sample made
    double QpcMs;        // the time they took, on the performance counter
    double Rate;         // calls per second
    INT Of;              // the scored sample replayed
    double DrawsPerCall; // random values a call takes
};

struct TestRun {
    INT Index = 0;
    std::string Name;
    std::vector<Sample> Samples;
    std::vector<RawSample> Raw;
    // Of the scores: median, least, greatest, and (greatest - least) / median.
    double Median = 0, Min = 0, Max = 0, Spread = 0;
    double RateMedian = 0; // median calls per second
    double RawMedian = 0;  // median raw calls per second (0: not measured)
    double Efficiency = 0; // scored against raw rates, the Hodges-Lehmann ratio
    // The efficiency's confidence interval (0, 0: too few samples), the measuring
    // rule's cost per call (its draws and one tick reading) and the efficiency that
    // cost alone allows.
    double EfficiencyLow = 0, EfficiencyHigh = 0, RuleNs = 0, Bound = 0;
    // The rate's relative half-width at the run's confidence (0: too few samples).
    double HalfWidth = 0;
};

// One fact of the setting as saved: text is quoted in JSON, the rest (numbers,
// booleans) stand as they are.
struct SettingField {
    std::string Key;
    std::string Value;
    bool IsText;
};

struct Setting {
    std::string Program = "QuenzelRun", Version = QUENZEL_VERSION, Flavour, Target, Windows, Wine,
                Utc;
    INT Width = 0, Height = 0, Depth = 0, Dpi = 0;
    DWORD WindowMs = TEST_WINDOW_MS;
    INT Repeat = 1;
    bool Raw = false;
    double TickStepMs = 0;         // the tick counter's step, measured at the start
    double DrawNs = 0, TickNs = 0; // a random draw's and a tick reading's cost (with --raw)
    DWORD WarmupMs = 0;
    INT Affinity = -1;    // the logical processor the run was pinned to; -1: none
    INT64 Shuffle = -1;   // the seed of the tests' order in each round; -1: table order
    double Precision = 0; // relative half-width asked for; 0: a fixed number of samples
    DWORD MaxSeconds = 0; // with a precision, the time it was given
    double Confidence = 0.99;
    // What the system tells of the machine (processor, memory, display adapter...);
    // a fact it does not tell is not listed.
    std::vector<SettingField> Facts;
};

struct Report {
    Setting Set;
    std::vector<TestRun> Tests;
    INT Total = 0; // sum of the median scores div the number of tests
};

// A saved run to compare with, by the name it was given.
struct OldRun {
    std::string Name;
    Report Run;
};

// Fills the summaries and the total from the samples.
void Summarise(Report &report);

// How far the confidence interval of the test's median rate reaches from that
// median, relative to it; 0 when the samples are too few for an interval.
double HalfWidthOf(const TestRun &test, double confidence);

std::string ToJson(const Report &report);
std::string ToCsv(const Report &report);
// The run in the layout of the common C++ micro-benchmark tools: one entry per
// sample and the aggregates, times per call in nanoseconds.
std::string ToBenchmarkJson(const Report &report);
// The table printed at the end; with old runs, one column per old run: each test's
// ratio of the rates with its interval and verdict, and a summary of each column.
std::string ToTable(const Report &report, const std::vector<OldRun> &olds);
// A bar chart of the medians on a logarithmic scale, the old runs' beside them and
// each comparison's interval on the new bar.
std::string ToSvg(const Report &report, const std::vector<OldRun> &olds);
// Reads a run that ToJson wrote (what a comparison needs: the setting that makes
// runs comparable, each test's summary and its samples' rates).
bool ParseReport(const std::string &json, Report &report, std::string &error);
