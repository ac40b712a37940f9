#include "Compare.h"

#include "Group.h"
#include "Summary.h"

#include <algorithm>

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
