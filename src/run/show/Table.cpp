// The table printed at the end of a run.
#include "Lines.h"
#include "Show.h"
#include "Stats.h"
#include "Summary.h"

#include <algorithm>
#include <cmath>

// The fewest samples that give the median an interval at that confidence.
static size_t NeededForInterval(double confidence) {
    std::vector<double> x;
    double low, high;
    do {
        x.emplace_back();
    } while (!MedianInterval(x, confidence, low, high));
    return x.size();
}

// Ends a line of the table, without the padding of its last column.
static void EndLine(std::string &out) {
    out.erase(out.find_last_not_of(' ') + 1);
    out += "\n";
}

// The ceiling's block (--raw): per test the raw rate, the efficiency with its interval,
// the rule's cost per call, the efficiency that cost allows, and the efficiency over
// that bound; then the median test's.
static std::string CeilingBlock(const Report &report) {
    const int width = NameWidth(report);
    std::string out = Format("%-*s %9s %6s %-14s %7s %6s %7s\n", width, "ceiling", "raw/s", "eff.",
                             "interval", "rule ns", "bound", "/bound");
    std::vector<double> over;
    bool costly = false; // a rule that costs more than 2 % of a call
    for (size_t i = 0; i < report.Tests.size(); i++) {
        const TestRun &test = report.Tests[i];
        const std::string interval =
            test.EfficiencyLow
                ? Format("[%.1f, %.1f]", *test.EfficiencyLow * 100, *test.EfficiencyHigh * 100)
                : "";
        out += FamilyHeader(report, i) + Format("%-*s", width, test.Name.c_str());
        if (test.Efficiency) {
            over.push_back(*test.Efficiency / *test.Bound);
            costly = costly || *test.Bound < 0.98;
            out += Format(" %9.0f %5.1f%% %-14s %7.1f %5.1f%%%s %6.3f", *test.RawMedian,
                          *test.Efficiency * 100, interval.c_str(), *test.RuleNs, *test.Bound * 100,
                          *test.Bound < 0.98 ? "*" : " ", over.back());
        } else {
            out += Format(" %9s %6s %-14s %7s %6s %7s", "-", "-", "", "-", "-", "-");
        }
        EndLine(out);
    }
    if (!over.empty()) {
        out += Format("median efficiency over its bound: %.3f\n", MedianOf(over));
    }
    return out +
           Wrap("(raw/s: the same calls replayed, only the platform calls timed; eff.: the "
                "rate against the raw rate; rule ns: the measuring rule's cost per call; bound: "
                "the efficiency that cost alone allows" +
                std::string(costly ? ", marked * where it costs more than 2 % of a call" : "") +
                ". An interval wholly below its bound: the harness costs more than its rule. An "
                "interval above its bound: the rule cost less than its measured cost, an upper "
                "estimate (the loop overlaps the draws and the tick reads), so the harness costs "
                "no more than its rule. Far above 100%: the scored and raw samples ran under "
                "different load; compare their spreads.)");
}

std::string ToTable(const Report &report, const std::vector<OldRun> &olds, const Compared &compared,
                    double failSlower) {
    const Setting &s = report.Set;
    std::uint32_t shortest = 0, longest = 0;
    for (const TestRun &test : report.Tests) {
        for (const Sample &sample : test.Samples) {
            shortest = shortest == 0 ? sample.TickMs : std::min(shortest, sample.TickMs);
            longest = std::max(longest, sample.TickMs);
        }
    }
    std::string out =
        Wrap(Format("%s %s (%s), %s %dx%dx%d", s.Program.c_str(), s.Version.c_str(),
                    s.Flavour.c_str(), s.Target.c_str(), s.Width, s.Height, s.Depth)) +
        Format("%lu ms window: measured %lu to %lu ms, tick step %.1f ms\n",
               static_cast<unsigned long>(s.WindowMs), static_cast<unsigned long>(shortest),
               static_cast<unsigned long>(longest), s.TickStepMs);
    const std::string plusMinus = Format("+-%.0f%%", s.Confidence * 100);
    // A group shows each run's own spread beside the spread between the runs' medians.
    bool grouped = false;
    for (const TestRun &test : report.Tests) {
        grouped = grouped || test.Runs > 1;
    }
    const int width = NameWidth(report);
    out += Format("%-*s %10s %10s %10s %7s", width, "test", "score", "min", "max",
                  grouped ? "within" : "spread");
    if (grouped) {
        out += Format(" %7s %4s", "between", "runs");
    }
    out += Format(" %5s %6s\n", "n", plusMinus.c_str());
    for (size_t i = 0; i < report.Tests.size(); i++) {
        const TestRun &test = report.Tests[i];
        const std::string half = test.HalfWidth ? Format("%.1f%%", *test.HalfWidth * 100) : "-";
        out += FamilyHeader(report, i) + Format("%-*s %10.0f %10.0f %10.0f %6.1f%%", width,
                                                test.Name.c_str(), std::floor(test.Median),
                                                test.Min, test.Max, test.Spread * 100);
        if (grouped) {
            out += test.Between ? Format(" %6.1f%% %4d", *test.Between * 100, test.Runs)
                                : Format(" %7s %4d", "-", test.Runs);
        }
        out += Format(" %5zu %6s", test.Samples.size(), half.c_str()) +
               (test.Drawn.Blank ? "  picture shows nothing here" : "");
        EndLine(out);
    }
    if (s.Suite == "seven") {
        out += "TOTAL: " + std::to_string(report.Total) + "\n";
    }
    out += Format("geometric mean of the scores: %.0f\n", report.GeometricMean);
    std::vector<NamedMedians> runs;
    for (const TestRun &test : report.Tests) {
        runs.push_back({test.Name, RunMedians(test)});
    }
    out += FarLines("", runs);
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
    out += Wrap(Format("(%s: how far the median rate's %.1f%% interval reaches; - : fewer than "
                       "%zu %s)",
                       plusMinus.c_str(), s.Confidence * 100, NeededForInterval(s.Confidence),
                       grouped ? "runs" : "samples"));
    if (grouped) {
        out += Wrap("(score, +-: over the runs' medians; within: the median of the runs' own "
                    "spreads; between: the spread of the runs' median rates)");
    }
    // The score and the rate count the same calls over the same window, timed by two
    // clocks; the columns say which.
    out += Wrap(std::string("(clocks: score, min, max: calls per second on the tick counter; ") +
                (grouped ? "within, between, " : "spread, ") + plusMinus +
                (s.Raw ? ", raw/s, eff." : "") + (olds.empty() ? "" : ", ratios") +
                ": of the rates, calls per second on the performance counter)");
    if (s.Raw) {
        out += CeilingBlock(report);
    }
    const std::vector<std::string> failed =
        olds.empty() ? std::vector<std::string>{} : SlowerBeyond(compared[0], failSlower);
    bool withinRun = false;
    for (size_t k = 0; k < olds.size(); k++) {
        out += CompareBlock(report, olds[k], compared[k], k,
                            k == 0 ? failed : std::vector<std::string>{});
        for (const ComparisonRow &row : compared[k]) {
            withinRun =
                withinRun || (!row.Result.ByRuns && row.Result.Verdict != Comparison::TooFew);
        }
    }
    if (!olds.empty()) {
        out += Wrap(Format("(ratio new/old of the rates, Hodges-Lehmann, with its %.1f%% "
                           "interval; verdict and p by the two-sided Mann-Whitney U test; on the "
                           "runs' medians where both sides have several)",
                           s.Confidence * 100));
    }
    if (withinRun) {
        out += Wrap("(within-run noise only: one run on a side, so its samples were compared; "
                    "runs differ more than their samples do, and such verdicts err far more "
                    "often than the confidence says)");
    }
    if (failSlower > 0 && !olds.empty()) {
        out += Format("gate: %zu test(s) slower than old 1 by more than %g%%, marked <<\n",
                      failed.size(), failSlower);
    }
    return out;
}
