// The table printed at the end of a run.
#include "Groups.h"
#include "ReportFields.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

// The fewest samples that give the median an interval at that confidence.
static size_t NeededForInterval(double confidence) {
    std::vector<double> x = {1};
    double low, high;
    while (!MedianInterval(x, confidence, low, high)) {
        x.push_back(1);
    }
    return x.size();
}

// Ends a line of the table, without the padding of its last column.
static void EndLine(std::string &out) {
    out.erase(out.find_last_not_of(' ') + 1);
    out += "\n";
}

static std::string Format(const char *format, auto... values) {
    char text[256];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

// A comparison's cell: the ratio, its interval, verdict and p-value, or why there is
// no verdict.
static std::string Cell(const ComparisonRow &row) {
    const Comparison &c = row.Result;
    const std::string verdict = VerdictText(c, row.Now, row.Before, row.Confidence);
    return c.Verdict == Comparison::TooFew
               ? Format("%.3f ", c.Ratio) + verdict
               : Format("%.3f [%.3f, %.3f] ", c.Ratio, c.Low, c.High) + verdict +
                     Format(" p=%.2g", c.P) + (c.ByRuns ? "" : " (within-run noise only)");
}

std::string ToTable(const Report &report, const std::vector<OldRun> &olds, double failSlower) {
    const Setting &s = report.Set;
    std::uint32_t shortest = 0, longest = 0;
    for (const TestRun &test : report.Tests) {
        for (const Sample &sample : test.Samples) {
            shortest = shortest == 0 ? sample.TickMs : std::min(shortest, sample.TickMs);
            longest = std::max(longest, sample.TickMs);
        }
    }
    std::string out = Format(
        "%s %s (%s), %s %dx%dx%d, %lu ms window (measured %lu to %lu ms, "
        "tick step %.1f ms)\n",
        s.Program.c_str(), s.Version.c_str(), s.Flavour.c_str(), s.Target.c_str(), s.Width,
        s.Height, s.Depth, static_cast<unsigned long>(s.WindowMs),
        static_cast<unsigned long>(shortest), static_cast<unsigned long>(longest), s.TickStepMs);
    const std::string plusMinus = Format("+-%.0f%%", s.Confidence * 100);
    // A group shows each run's own spread beside the spread between the runs' medians.
    bool grouped = false;
    for (const TestRun &test : report.Tests) {
        grouped = grouped || test.Runs > 1;
    }
    out += Format("%-10s %10s %10s %10s %7s", "test", "score", "min", "max",
                  grouped ? "within" : "spread");
    if (grouped) {
        out += Format(" %7s %4s", "between", "runs");
    }
    out += Format(" %5s %6s", "n", plusMinus.c_str());
    if (s.Raw) {
        out += "     raw/s   eff. interval       rule ns  bound";
    }
    for (size_t k = 0; k < olds.size(); k++) {
        out += Format("   vs old %-47zu", k + 1);
    }
    EndLine(out);
    std::vector<std::vector<ComparisonRow>> columns;
    for (const OldRun &old : olds) {
        columns.push_back(Comparisons(report, old));
    }
    const std::vector<std::string> failed =
        olds.empty() ? std::vector<std::string>{} : SlowerBeyond(report, olds[0], failSlower);
    for (const TestRun &test : report.Tests) {
        const std::string half = test.HalfWidth ? Format("%.1f%%", *test.HalfWidth * 100) : "-";
        out += Format("%-10s %10.0f %10.0f %10.0f %6.1f%%", test.Name.c_str(),
                      std::floor(test.Median), test.Min, test.Max, test.Spread * 100);
        if (grouped) {
            out += test.Between ? Format(" %6.1f%% %4d", *test.Between * 100, test.Runs)
                                : Format(" %7s %4d", "-", test.Runs);
        }
        out += Format(" %5zu %6s", test.Samples.size(), half.c_str());
        if (s.Raw) {
            const std::string interval =
                test.EfficiencyLow
                    ? Format("[%.1f, %.1f]", *test.EfficiencyLow * 100, *test.EfficiencyHigh * 100)
                    : "";
            out += test.Efficiency ? Format(" %9.0f %5.1f%% %-14s %7.1f %5.1f%%", *test.RawMedian,
                                            *test.Efficiency * 100, interval.c_str(), *test.RuleNs,
                                            *test.Bound * 100)
                                   : Format(" %9s %6s %-14s %7s %6s", "-", "-", "", "-", "-");
        }
        for (const std::vector<ComparisonRow> &column : columns) {
            std::string cell = "n/a";
            for (const ComparisonRow &row : column) {
                cell = row.Now.Index == test.Index ? Cell(row) : cell;
            }
            out += Format("   %-56s", cell.c_str());
        }
        if (std::find(failed.begin(), failed.end(), test.Name) != failed.end()) {
            out += Format("   << slower by more than %g%%", failSlower);
        }
        EndLine(out);
    }
    out += "TOTAL: " + std::to_string(report.Total) + "\n";
    out += Format("geometric mean of the scores: %.0f\n", report.GeometricMean);
    if (s.Precision > 0) {
        // "all 7 tests reached ±2 %", or who reached it and, for each of the others,
        // how far it got in the time given.
        const std::string target = Format("\u00b1%g %%", s.Precision * 100);
        std::vector<std::string> reached;
        std::string missed;
        for (const TestRun &test : report.Tests) {
            if (test.HalfWidth && *test.HalfWidth <= s.Precision) {
                reached.push_back(test.Name);
                continue;
            }
            missed += Format("%s did not reach %s in %lu s: ", test.Name.c_str(), target.c_str(),
                             static_cast<unsigned long>(s.MaxSeconds)) +
                      (test.HalfWidth ? Format("\u00b1%.1f %%", *test.HalfWidth * 100)
                                      : "too few samples for an interval") +
                      "\n";
        }
        if (reached.size() == report.Tests.size() && reached.size() > 1) {
            out += "all " + std::to_string(reached.size()) + " tests reached " + target + "\n";
        } else if (!reached.empty()) {
            std::string names = reached[0];
            for (size_t i = 1; i < reached.size(); i++) {
                names += (i + 1 < reached.size() ? ", " : " and ") + reached[i];
            }
            out += names + " reached " + target + "\n";
        }
        out += missed;
    }
    out += Format("(%s: how far the median rate's %.1f%% interval reaches; - : fewer than %zu "
                  "%s)\n",
                  plusMinus.c_str(), s.Confidence * 100, NeededForInterval(s.Confidence),
                  grouped ? "runs" : "samples");
    if (grouped) {
        out += "(score, +-: over the runs' medians; within: the median of the runs' own spreads; "
               "between: the spread of the runs' median rates)\n";
    }
    for (size_t k = 0; k < olds.size(); k++) {
        double logs = 0;
        int counts[4] = {};
        const std::vector<ComparisonRow> &rows = columns[k];
        for (const ComparisonRow &row : rows) {
            logs += std::log(row.Result.Ratio);
            counts[row.Result.Verdict]++;
        }
        const double mean = rows.empty() ? 0 : std::exp(logs / rows.size());
        out += Format("old %zu: %s: geometric mean of the ratios %.3f; faster %d, slower %d, no "
                      "significant difference %d, no verdict %d\n",
                      k + 1, olds[k].Name.c_str(), mean, counts[Comparison::Faster],
                      counts[Comparison::Slower], counts[Comparison::NoDifference],
                      counts[Comparison::TooFew]);
        const std::string differences = SettingDifferences(s, olds[k].Set);
        if (!differences.empty()) {
            out += "  warning: the runs differ in " + differences + "\n";
        }
    }
    if (!olds.empty()) {
        out += Format("(ratio new/old of the rates, Hodges-Lehmann, with its %.1f%% interval; "
                      "verdict and p by the two-sided Mann-Whitney U test; on the runs' medians "
                      "where both sides have several)\n",
                      s.Confidence * 100);
    }
    bool withinRun = false;
    for (const std::vector<ComparisonRow> &column : columns) {
        for (const ComparisonRow &row : column) {
            withinRun =
                withinRun || (!row.Result.ByRuns && row.Result.Verdict != Comparison::TooFew);
        }
    }
    if (withinRun) {
        out += "(within-run noise only: one run on a side, so its samples were compared; runs "
               "differ more than\n their samples do, and such verdicts err far more often than "
               "the confidence says)\n";
    }
    if (failSlower > 0 && !olds.empty()) {
        out += Format("gate: %zu test(s) slower than old 1 by more than %g%%\n", failed.size(),
                      failSlower);
    }
    return out;
}
