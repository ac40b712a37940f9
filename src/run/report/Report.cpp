// The summaries of a run and its comparisons with old runs, which every output shows.
#include "Report.h"

#include "Groups.h"

#include <algorithm>
#include <cmath>

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

const OldTest *Find(const OldRun &old, int index) {
    for (const OldTest &test : old.Tests) {
        if (test.Index == index) {
            return &test;
        }
    }
    return nullptr;
}

const OldTest *FindName(const OldRun &old, const std::string &name) {
    for (const OldTest &test : old.Tests) {
        if (test.Name == name) {
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
    const std::vector<double> a = RunMedians(now), b = RunMedians(before);
    if (a.size() > 1 && b.size() > 1) {
        Comparison c = Compare(a, b, confidence);
        c.ByRuns = true;
        return c;
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

std::string VerdictText(const ComparisonRow &row) {
    const Comparison &c = row.Result;
    const TestRun &now = row.Now;
    const OldTest &before = row.Before;
    if (row.OtherPicture) {
        return "no verdict: another picture";
    }
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
    const std::string sizes = c.ByRuns ? std::to_string(now.Runs) + " vs " +
                                             std::to_string(RunMedians(before).size()) + " runs"
                                       : std::to_string(now.Samples.size()) + " vs " +
                                             std::to_string(before.Rates.size()) + " samples";
    return "no verdict: " + sizes + ", needs " + std::to_string(NeededASide(row.Confidence)) +
           " a side";
}

std::vector<std::string> SlowerBeyond(const std::vector<ComparisonRow> &rows, double percent) {
    std::vector<std::string> names;
    for (const ComparisonRow &row : rows) {
        const Comparison &c = row.Result;
        if (percent > 0 && c.Verdict == Comparison::Slower && c.High < 1 - percent / 100) {
            names.push_back(row.Now.Name);
        }
    }
    return names;
}

std::vector<std::string> OtherPictures(const std::vector<ComparisonRow> &rows) {
    std::vector<std::string> names;
    for (const ComparisonRow &row : rows) {
        if (row.OtherPicture) {
            names.push_back(row.Now.Name);
        }
    }
    return names;
}

std::string Shortened(const Report &report, const std::vector<std::string> &names) {
    const auto named = [&](const std::string &name) {
        return std::find(names.begin(), names.end(), name) != names.end();
    };
    std::vector<std::string> done;
    std::string out;
    for (const TestRun &test : report.Tests) {
        const std::string &name = test.Name;
        if (!named(name) || std::find(done.begin(), done.end(), name) != done.end()) {
            continue;
        }
        // The shortest stem all of whose tests are named, if it holds more than one.
        std::string item = name;
        for (size_t dot = name.find('.'); dot != std::string::npos; dot = name.find('.', dot + 1)) {
            const std::string stem = name.substr(0, dot + 1);
            std::vector<std::string> under;
            bool all = true;
            for (const TestRun &other : report.Tests) {
                if (other.Name.compare(0, stem.size(), stem) == 0) {
                    under.push_back(other.Name);
                    all = all && named(other.Name);
                }
            }
            if (all && under.size() > 1) {
                item = stem + "* (" + std::to_string(under.size()) + " tests)";
                done.insert(done.end(), under.begin(), under.end());
                break;
            }
        }
        out += (out.empty() ? "" : ", ") + item;
    }
    return out;
}

std::vector<ComparisonRow> Comparisons(const Report &report, const OldRun &old) {
    std::vector<ComparisonRow> rows;
    for (const TestRun &test : report.Tests) {
        // A score that rounds to 0 still has its rates: those are what is compared,
        // unless a window saw no call at all.
        // The index and the name both: the seven and the wide suite share indices.
        const OldTest *before = Find(old, test.Index);
        const std::vector<double> now = Rates(test);
        if (before == nullptr || (!before->Name.empty() && before->Name != test.Name)) {
            continue;
        }
        const bool byRates = !before->Rates.empty() && !now.empty() &&
                             *std::min_element(now.begin(), now.end()) > 0 &&
                             *std::min_element(before->Rates.begin(), before->Rates.end()) > 0;
        const bool byMedians = before->Rates.empty() && before->Median > 0 && test.Median > 0;
        if (byRates || byMedians) {
            const Picture &a = test.Drawn, &b = before->Drawn;
            const bool other = !a.Digest.empty() && !b.Digest.empty() && !a.Varies && !b.Varies &&
                               a.Digest != b.Digest;
            Comparison c = CompareTest(test, *before, report.Set.Confidence);
            if (other) {
                // A ratio of two different drawings' speeds: no interval, no verdict.
                c.Verdict = Comparison::TooFew;
                c.Low = c.High = 0;
            }
            rows.push_back({old, test, *before, c, report.Set.Confidence, other});
        }
    }
    return rows;
}

Compared CompareAll(const Report &report, const std::vector<OldRun> &olds) {
    Compared all;
    for (const OldRun &old : olds) {
        all.push_back(Comparisons(report, old));
    }
    return all;
}
