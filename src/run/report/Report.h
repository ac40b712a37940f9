// QuenzelRun's results: samples, summaries, the setting they were taken in, and
// the forms they are shown and saved in. Plain C++: nothing here needs the system.
#pragma once

#include "Pictures.h"
#include "Stats.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Tests are numbered 1 to this, as in the test table.
constexpr int LAST_TEST = 7;

// The digest of the picture a test drew, whether two drawings of it differed, and
// whether it shows nothing: its calls left the surface as they found it.
struct Picture {
    std::string Digest; // empty: not known
    bool Varies = false;
    bool Blank = false;
};

struct Sample {
    std::int64_t Count;   // workload calls in the window
    std::uint32_t TickMs; // the window on the tick counter
    double QpcMs;         // the same window on the performance counter
    int PerSecond;        // the score: count div 10 for the 10 s window, else count * 1000 / TickMs
    double Rate;          // calls per second on the performance counter
    double CpuMs = 0;     // the thread's processor time in the window
    int Run = 1;          // the run it was taken in, in a group of runs
};

// The ceiling: the very calls of scored sample Of (1-based), replayed with their
// random values drawn ahead, only the platform calls timed.
struct RawSample {
    std::int64_t Calls;  // platform calls timed: as many as the scored sample made
    double QpcMs;        // the time they took, on the performance counter
    double Rate;         // calls per second
    int Of;              // the scored sample replayed
    double DrawsPerCall; // random values a call takes
};

struct TestRun {
    int Index = 0;
    std::string Name;
    std::vector<Sample> Samples = {};
    std::vector<RawSample> Raw = {};
    // Of the scores: median, least, greatest, and (greatest - least) / median.
    double Median = 0, Min = 0, Max = 0, Spread = 0;
    double RateMedian = 0; // median calls per second
    // In a group of runs: how many, and (greatest - least) / median of the runs'
    // median rates; Spread is then the median of the runs' own spreads.
    int Runs = 1;
    std::optional<double> Between = {};
    // What is not known stays empty: the raw rates' median, the efficiency (scored
    // against raw rates, the Hodges-Lehmann ratio) and its confidence interval, the
    // measuring rule's cost per call (its draws and one tick reading) and the
    // efficiency that cost alone allows; the median rate's relative half-width at the
    // run's confidence (empty: too few samples).
    std::optional<double> RawMedian = {}, Efficiency = {}, EfficiencyLow = {}, EfficiencyHigh = {},
                          RuleNs = {}, Bound = {}, HalfWidth = {};
    Picture Drawn = {};
};

// One fact of the machine as saved: text is quoted in JSON, a number stands as it is.
struct SettingField {
    std::string Key;
    std::string Value;
    bool IsText;
};

struct Setting {
    std::string Program = "QuenzelRun", Version = QUENZEL_VERSION, Flavour, Target, Windows, Wine,
                Utc;
    std::string Suite = "seven"; // or "wide"
    std::string Architecture;    // the build's: "x86" or "x64"
    // Each run's identity, made when it was measured, in the order of the runs' numbers
    // ("" where a file saved none): a run met again is counted once.
    std::vector<std::string> RunIds;
    // The folder its pictures were written to (a full name); empty: none.
    std::string Pictures;
    int Width = 0, Height = 0, Depth = 0, Dpi = 0;
    std::uint32_t WindowMs = 10000;
    int Repeat = 1;
    bool Raw = false;
    double TickStepMs = 0;         // the tick counter's step, measured at the start
    double DrawNs = 0, TickNs = 0; // a random draw's and a tick reading's cost (with --raw)
    std::uint32_t WarmupMs = 0;
    int Affinity = -1;            // the logical processor the run was pinned to; -1: none
    std::int64_t Shuffle = -1;    // the seed of the tests' order in each round; -1: table order
    double Precision = 0;         // relative half-width asked for; 0: a fixed number of samples
    std::uint32_t MaxSeconds = 0; // with a precision, the time it was given
    double Confidence = 0.99;
    // What the system tells of the machine (processor, memory, display adapter...);
    // a fact it does not tell is not listed.
    std::vector<SettingField> Facts;
};

struct Report {
    Setting Set;
    std::vector<TestRun> Tests;
    // The file each run was read from, in the order of the runs' numbers ("": measured
    // here); not saved.
    std::vector<std::string> RunFiles = {};
    int Total = 0;            // sum of the median scores div the number of tests
    double GeometricMean = 0; // of the median scores: every test weighs alike
};

// A saved run to compare with, by the name it was given: what a comparison needs
// (the setting that makes runs comparable, each test's median score and its
// samples' rates).
struct OldTest {
    int Index = 0;
    std::string Name;
    double Median = 0;
    std::vector<double> Rates = {};
    std::vector<int> Runs = {}; // each rate's run; empty: one run
    Picture Drawn = {};
};
struct OldRun {
    std::string Name;
    Setting Set;
    std::vector<OldTest> Tests;
};

// Fills the summaries and the total from the samples.
void Summarise(Report &report);

// How far the confidence interval of the test's median rate reaches from that
// median, relative to it; 0 when the samples are too few for an interval.
double HalfWidthOf(const TestRun &test, double confidence);

// The test of that index in an old run, or null; of that name.
const OldTest *Find(const OldRun &old, int index);
const OldTest *FindName(const OldRun &old, const std::string &name);

// A test against the same test of an old run. With several runs on both sides the
// run is the unit: the runs' median rates are compared, since a run's samples share
// the machine's state when it was made. Otherwise the samples are, which weighs only
// the noise within a run. Runs saved without their samples' rates compare by the
// medians of the scores, with no verdict.
Comparison CompareTest(const TestRun &now, const OldTest &before, double confidence);

// A test compared with the same test of an old run.
struct ComparisonRow {
    const OldRun &Old;
    const TestRun &Now;
    const OldTest &Before;
    Comparison Result;
    double Confidence;
    // Both sides' pictures are known, neither varies, and they differ: the ratio
    // compares two different drawings, and no verdict is given.
    bool OtherPicture = false;
    // Where both sides' picture files were found: how they differ.
    std::optional<PictureDifference> Difference = {};
};

// The row's verdict in words, or why there is none.
std::string VerdictText(const ComparisonRow &row);

// Each test that both runs hold, compared, in the new run's order.
std::vector<ComparisonRow> Comparisons(const Report &report, const OldRun &old);

// Every old group's comparisons with the report, in the olds' order: what the table,
// the files, the chart and the gate show, computed once (one comparison of long runs
// takes a good part of a second).
using Compared = std::vector<std::vector<ComparisonRow>>;
Compared CompareAll(const Report &report, const std::vector<OldRun> &olds);

// The tests the gate fails among these comparisons: called slower, with the whole
// interval of the ratio below 1 - percent / 100.
std::vector<std::string> SlowerBeyond(const std::vector<ComparisonRow> &rows, double percent);

// The tests among these comparisons whose two sides drew different pictures.
std::vector<std::string> OtherPictures(const std::vector<ComparisonRow> &rows);

// The names, shortened where every test of the report under a common stem is named
// ("BitBlt.SRCINVERT.* (3 tests)"), comma-separated.
std::string Shortened(const Report &report, const std::vector<std::string> &names);

std::string ToJson(const Report &report, const std::vector<OldRun> &olds, const Compared &compared);
std::string ToCsv(const Report &report, const std::vector<OldRun> &olds, const Compared &compared);
// The run in the layout of the common C++ micro-benchmark tools: one entry per
// sample and the aggregates, times per call in nanoseconds.
std::string ToBenchmarkJson(const Report &report);
// The table printed at the end; with old runs, one column per old run: each test's
// ratio of the rates with its interval, verdict and p-value, and a summary of each
// column. Tests the gate fails at failSlower per cent (0: no gate) are marked.
std::string ToTable(const Report &report, const std::vector<OldRun> &olds, const Compared &compared,
                    double failSlower = 0);
// With old runs, each test's ratio new/old with its interval around 1, coloured by
// the verdict; without, each test's samples beside its median.
std::string ToSvg(const Report &report, const std::vector<OldRun> &olds, const Compared &compared);

// The same, each comparing for itself.
inline std::vector<std::string> SlowerBeyond(const Report &report, const OldRun &old,
                                             double percent) {
    return SlowerBeyond(Comparisons(report, old), percent);
}
inline std::string ToJson(const Report &report, const std::vector<OldRun> &olds) {
    return ToJson(report, olds, CompareAll(report, olds));
}
inline std::string ToCsv(const Report &report, const std::vector<OldRun> &olds) {
    return ToCsv(report, olds, CompareAll(report, olds));
}
inline std::string ToTable(const Report &report, const std::vector<OldRun> &olds,
                           double failSlower = 0) {
    return ToTable(report, olds, CompareAll(report, olds), failSlower);
}
inline std::string ToSvg(const Report &report, const std::vector<OldRun> &olds) {
    return ToSvg(report, olds, CompareAll(report, olds));
}

// Reads a run that ToJson wrote (or any earlier version): its setting, samples and raw
// samples, every field checked against its kind and range and each sample against its
// window; false with a message naming the field and the test.
bool ReadRun(const std::string &json, Report &run, std::string &error);
