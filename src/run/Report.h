// QuenzelRun's results: samples, summaries, the setting they were taken in, and
// the forms they are shown and saved in.
#pragma once

#include "Bench.h"

#include <string>
#include <vector>

struct Sample {
    INT64 Count;   // workload calls in the window
    DWORD TickMs;  // the window on the tick counter
    double QpcMs;  // the same window on the performance counter
    INT PerSecond; // the score: count div 10 for the 10 s window, else count * 1000 / TickMs
    double Rate;   // calls per second on the performance counter
};

struct RawSample {
    INT64 Calls;  // platform calls timed
    double QpcMs; // the time they took, on the performance counter
    double Rate;  // calls per second
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
    double Efficiency = 0; // RateMedian / RawMedian
};

struct Setting {
    std::string Program = "QuenzelRun", Version = QUENZEL_VERSION, Flavour, Target, Windows, Wine,
                Utc;
    INT Width = 0, Height = 0, Depth = 0, Dpi = 0;
    DWORD WindowMs = TEST_WINDOW_MS;
    INT Repeat = 1;
    bool Raw = false;
};

struct Report {
    Setting Set;
    std::vector<TestRun> Tests;
    INT Total = 0; // sum of the median scores div the number of tests
};

// Fills the summaries and the total from the samples.
void Summarise(Report &report);

std::string ToJson(const Report &report);
std::string ToCsv(const Report &report);
// The table printed at the end; with an old run, each test's ratio to it, marked
// with * when the change is larger than both runs' spread.
std::string ToTable(const Report &report, const Report *old);
// A bar chart of the medians on a logarithmic scale, the old run's beside them.
std::string ToSvg(const Report &report, const Report *old);
// Reads a run that ToJson wrote (what a comparison needs: each test's summary).
bool ParseReport(const std::string &json, Report &report, std::string &error);
