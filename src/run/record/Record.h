// The record of a run, at the ground of QuenzelRun: the setting a run was measured in,
// its tests' samples and pictures, and their summaries; a run to compare with. Plain
// C++ that includes nothing else of QuenzelRun.
#pragma once

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

// Pixels as 0x00RRGGBB, row by row from the top.
struct Pixels {
    int Width = 0, Height = 0;
    std::vector<std::uint32_t> Values;
};

// Where two pictures of one size differ: how many pixels, the box that holds them
// (inclusive), and the largest difference of a channel.
struct PictureDifference {
    long long Pixels = 0;
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Largest = 0;
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

// Where a run's time went, in milliseconds: from its start to its first sample (or
// warm-up), warming up, in its measuring windows, replaying them (--raw), setting tests
// up and clearing between samples, drawing its pictures. A group's: the sum over its
// runs.
struct Phases {
    double StartMs = 0, WarmupMs = 0, WindowsMs = 0, RawMs = 0, SetUpMs = 0, PicturesMs = 0;
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
    Phases Spent;
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
