// Distribution-free statistics for comparing two runs and for knowing when a run
// has measured enough: no assumption about the shape of a machine's noise.
#pragma once

#include <cstddef>
#include <vector>

struct Comparison {
    enum Kind { Faster, NoDifference, Slower, TooFew };
    Kind Verdict = TooFew;
    // New rate over old rate (above 1: faster), the Hodges-Lehmann estimate on the
    // logarithms of the rates, and its confidence interval (0, 0 when the samples
    // are too few for one).
    double Ratio = 0, Low = 0, High = 0;
    double P = 1;        // two-sided Mann-Whitney U test
    bool ByRuns = false; // the runs' medians compared, not single runs' samples
};

// The two-sided p-value of the Mann-Whitney U test of x against y: exact when the
// samples are small and have no ties, else the normal approximation with the tie
// and continuity corrections.
double MannWhitneyP(const std::vector<double> &x, const std::vector<double> &y);

// The median of the values; 0 of none.
double MedianOf(std::vector<double> values);

// The smallest two-sided p-value that samples of m and n values can give.
double SmallestP(size_t m, size_t n);

// Newer against older (positive rates) at a confidence such as 0.99: faster or
// slower when p < 1 - confidence and the interval excludes 1; too few when no
// outcome of samples of these sizes could be significant.
Comparison Compare(const std::vector<double> &newer, const std::vector<double> &older,
                   double confidence);

// The distribution-free confidence interval of the median of x (from the sign
// test's order statistics); false when x is too small for one.
bool MedianInterval(std::vector<double> x, double confidence, double &low, double &high);
