#include "Summary.h"

#include "Group.h"
#include "Stats.h"

#include <algorithm>
#include <cmath>
#include <map>

std::vector<std::vector<double>> ByRun(const std::vector<double> &values,
                                       const std::vector<int> &runs) {
    std::map<int, std::vector<double>> byRun;
    for (size_t i = 0; i < values.size(); i++) {
        byRun[runs.empty() ? 1 : runs[i]].push_back(values[i]);
    }
    std::vector<std::vector<double>> out;
    for (auto &[run, each] : byRun) {
        out.push_back(std::move(each));
    }
    return out;
}

std::vector<double> RunMedians(const std::vector<double> &values, const std::vector<int> &runs) {
    std::vector<double> medians;
    for (const std::vector<double> &each : ByRun(values, runs)) {
        medians.push_back(MedianOf(each));
    }
    return medians;
}

std::vector<size_t> FarRuns(const std::vector<double> &medians) {
    std::vector<size_t> far;
    for (size_t r = 0; medians.size() >= 3 && r < medians.size(); r++) {
        std::vector<double> rest = medians;
        rest.erase(rest.begin() + static_cast<std::ptrdiff_t>(r));
        const auto [low, high] = std::minmax_element(rest.begin(), rest.end());
        const double reach = std::max(*high - *low, 0.05 * MedianOf(rest));
        if (medians[r] < *low - reach || medians[r] > *high + reach) {
            far.push_back(r);
        }
    }
    return far;
}

std::vector<double> RunMedians(const TestRun &test) {
    return RunMedians(Rates(test), RunsOf(test));
}

std::vector<double> RunMedians(const OldTest &test) {
    return RunMedians(test.Rates, test.Runs);
}

double HalfWidthOf(const TestRun &test, double confidence) {
    // Over a group, of the runs' medians: the runs are what vary together.
    const std::vector<double> medians = RunMedians(test);
    const std::vector<double> rates = medians.size() > 1 ? medians : Rates(test);
    const double median = MedianOf(rates);
    double low, high;
    return MedianInterval(rates, confidence, low, high) && median > 0
               ? std::max(high / median - 1, 1 - low / median)
               : 0;
}

void Summarise(Report &report) {
    double sum = 0, logs = 0;
    for (TestRun &test : report.Tests) {
        std::vector<double> scores, raw;
        for (const Sample &sample : test.Samples) {
            scores.push_back(sample.PerSecond);
        }
        for (const RawSample &sample : test.Raw) {
            raw.push_back(sample.Rate);
        }
        // A test saved without samples keeps the median it was saved with.
        test.Median = scores.empty() ? test.Median : MedianOf(scores);
        test.Min = scores.empty() ? 0 : *std::min_element(scores.begin(), scores.end());
        test.Max = scores.empty() ? 0 : *std::max_element(scores.begin(), scores.end());
        test.Spread = test.Median > 0 ? (test.Max - test.Min) / test.Median : 0;
        test.RateMedian = MedianOf(Rates(test));
        test.Between = std::nullopt;
        const std::vector<double> medians = RunMedians(test);
        test.Runs = static_cast<int>(medians.size());
        if (medians.size() > 1) {
            // Over runs: the median run's, each run's own spread, and the runs' spread.
            std::vector<int> runs;
            for (const Sample &sample : test.Samples) {
                runs.push_back(sample.Run);
            }
            std::vector<double> runScores, runSpreads;
            for (const std::vector<double> &each : ByRun(scores, runs)) {
                const double median = MedianOf(each);
                runScores.push_back(median);
                runSpreads.push_back(median > 0 ? (*std::max_element(each.begin(), each.end()) -
                                                   *std::min_element(each.begin(), each.end())) /
                                                      median
                                                : 0);
            }
            test.Median = MedianOf(runScores);
            test.Spread = MedianOf(runSpreads);
            test.RateMedian = MedianOf(medians);
            test.Between = (*std::max_element(medians.begin(), medians.end()) -
                            *std::min_element(medians.begin(), medians.end())) /
                           test.RateMedian;
        }
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
        logs += std::log(std::max(test.Median, 1.0));
    }
    // TOTAL is the seven's: the wide suite has only its geometric mean.
    report.Total = report.Tests.empty() || report.Set.Suite != "seven"
                       ? 0
                       : static_cast<int>(std::floor(sum) / report.Tests.size());
    report.GeometricMean = report.Tests.empty() ? 0 : std::exp(logs / report.Tests.size());
}
