// The summaries of a run and its comparisons with old runs, which every output shows.
#include "Report.h"

#include "ReportFields.h"

#include <algorithm>
#include <cmath>

double HalfWidthOf(const TestRun &test, double confidence) {
    const std::vector<double> rates = Rates(test);
    const double median = MedianOf(rates);
    double low, high;
    return MedianInterval(rates, confidence, low, high) && median > 0
               ? std::max(high / median - 1, 1 - low / median)
               : 0;
}

void Summarise(Report &report) {
    double sum = 0;
    for (TestRun &test : report.Tests) {
        std::vector<double> scores, raw;
        for (const Sample &sample : test.Samples) {
            scores.push_back(sample.PerSecond);
        }
        for (const RawSample &sample : test.Raw) {
            raw.push_back(sample.Rate);
        }
        test.Median = MedianOf(scores);
        test.Min = scores.empty() ? 0 : *std::min_element(scores.begin(), scores.end());
        test.Max = scores.empty() ? 0 : *std::max_element(scores.begin(), scores.end());
        test.Spread = test.Median > 0 ? (test.Max - test.Min) / test.Median : 0;
        test.RateMedian = MedianOf(Rates(test));
        test.RawMedian = test.Efficiency = test.EfficiencyLow = test.EfficiencyHigh = test.RuleNs =
            test.Bound = test.HalfWidth = std::nullopt;
        if (!raw.empty() && !test.Samples.empty()) {
            // Scored against raw rates as two samples: the efficiency with its interval.
            test.RawMedian = MedianOf(raw);
            const Comparison c = Compare(Rates(test), raw, report.Set.Confidence);
            test.Efficiency = c.Ratio;
            if (c.Low > 0) {
                test.EfficiencyLow = c.Low;
                test.EfficiencyHigh = c.High;
            }
            double draws = 0;
            for (const RawSample &sample : test.Raw) {
                draws += sample.DrawsPerCall;
            }
            test.RuleNs = draws / test.Raw.size() * report.Set.DrawNs + report.Set.TickNs;
            test.Bound = 1 / (1 + *test.RuleNs * *test.RawMedian / 1e9);
        }
        if (const double half = HalfWidthOf(test, report.Set.Confidence); half > 0) {
            test.HalfWidth = half;
        }
        sum += test.Median;
    }
    report.Total =
        report.Tests.empty() ? 0 : static_cast<int>(std::floor(sum) / report.Tests.size());
}

const OldTest *Find(const OldRun &old, int index) {
    for (const OldTest &test : old.Tests) {
        if (test.Index == index) {
            return &test;
        }
    }
    return nullptr;
}

Comparison CompareTest(const TestRun &now, const OldTest &before, double confidence) {
    if (before.Rates.empty()) {
        Comparison result;
        result.Ratio = before.Median > 0 ? now.Median / before.Median : 0;
        return result;
    }
    return Compare(Rates(now), before.Rates, confidence);
}

// The fewest samples a side with which a comparison at that confidence can come out
// significant.
static size_t NeededASide(double confidence) {
    size_t n = 1;
    while (SmallestP(n, n) >= 1 - confidence) {
        n++;
    }
    return n;
}

std::string VerdictText(const Comparison &c, const TestRun &now, const OldTest &before,
                        double confidence) {
    switch (c.Verdict) {
    case Comparison::Faster:
        return "faster";
    case Comparison::Slower:
        return "slower";
    case Comparison::NoDifference:
        return "no significant difference";
    case Comparison::TooFew:
        break;
    }
    if (before.Rates.empty()) {
        return "no verdict: old run saved without its samples' rates";
    }
    return "no verdict: " + std::to_string(now.Samples.size()) + " vs " +
           std::to_string(before.Rates.size()) + " samples, needs " +
           std::to_string(NeededASide(confidence)) + " a side";
}

std::vector<std::string> SlowerBeyond(const Report &report, const OldRun &old, double percent) {
    std::vector<std::string> names;
    for (const ComparisonRow &row : Comparisons(report, old)) {
        const Comparison &c = row.Result;
        if (percent > 0 && c.Verdict == Comparison::Slower && c.High < 1 - percent / 100) {
            names.push_back(row.Now.Name);
        }
    }
    return names;
}
