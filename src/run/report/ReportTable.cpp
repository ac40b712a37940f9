// The table printed at the end of a run.
#include "Groups.h"
#include "WideTable.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <sstream>

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

// Text in lines of at most WIDTH characters, broken at spaces; the lines after the
// first indented by two.
constexpr size_t WIDTH = 100;
static std::string Wrap(const std::string &text) {
    std::string out;
    size_t start = 0; // where the last line starts
    std::istringstream words(text);
    for (std::string word; words >> word;) {
        if (out.size() > start && out.size() - start + 1 + word.size() > WIDTH) {
            out += "\n ";
            start = out.size() - 1;
        }
        out += (out.size() == start ? "" : " ") + word;
    }
    return out + "\n";
}

// A line for each run of a group whose median rate lies far from the other runs',
// naming the tests where it does: kept in every figure, but a reader should know.
template <class Test>
static std::string FarLines(const std::string &whose, const std::vector<Test> &tests) {
    std::map<size_t, std::string> far;
    for (const Test &test : tests) {
        for (const size_t run : FarRuns(RunMedians(test))) {
            far[run] += (far[run].empty() ? "" : ", ") + test.Name;
        }
    }
    std::string out;
    for (const auto &[run, names] : far) {
        out += Wrap(Format("%srun %zu lies far from the other runs in ", whose.c_str(), run + 1) +
                    names + " (a busy machine?); it is kept");
    }
    return out;
}

// The widest test name, for the first column.
static int NameWidth(const Report &report) {
    size_t width = 10;
    for (const TestRun &test : report.Tests) {
        width = std::max(width, test.Name.size());
    }
    return static_cast<int>(width);
}

// The wide suite's family header, above the first test of each family.
static std::string FamilyHeader(const Report &report, size_t i) {
    if (report.Set.Suite != "wide") {
        return "";
    }
    const char *family = WIDE_TABLE[report.Tests[i].Index].Family;
    return i > 0 && std::strcmp(WIDE_TABLE[report.Tests[i - 1].Index].Family, family) == 0
               ? ""
               : std::string("-- ") + family + "\n";
}

// A comparison's cell: the ratio, its interval, verdict and p-value, or why there is
// no verdict.
static std::string Cell(const ComparisonRow &row) {
    const Comparison &c = row.Result;
    if (row.OtherPicture) {
        return Format("%6.3f ", c.Ratio) + "OTHER PICTURE: no verdict";
    }
    const std::string verdict = VerdictText(row);
    return c.Verdict == Comparison::TooFew
               ? Format("%6.3f ", c.Ratio) + verdict
               : Format("%6.3f [%.3f, %.3f] ", c.Ratio, c.Low, c.High) + verdict +
                     Format(" p=%.2g", c.P) + (c.ByRuns ? "" : " (within-run noise only)");
}

// The line under a block naming the tests that drew another picture, and how each
// differs where both sides' pictures were found.
static std::string OtherPictureLine(const Report &report, const std::vector<ComparisonRow> &rows) {
    std::vector<std::string> names;
    std::string how;
    for (const ComparisonRow &row : rows) {
        if (row.OtherPicture) {
            names.push_back(row.Now.Name);
        }
        if (row.OtherPicture && row.Difference) {
            how += "; " + row.Now.Name + ": " + DifferenceText(*row.Difference);
        }
    }
    return names.empty() ? ""
                         : Wrap("other picture: " + Shortened(report, names) +
                                ": the two sides drew different pixels, so a ratio of their "
                                "speeds means nothing" +
                                how);
}

// The block of one old run: per test the ratio and its verdict, the gate's mark beside
// the names it fails, then the run's geometric mean and counts, and what makes its
// figures unlike.
static std::string CompareBlock(const Report &report, const OldRun &old,
                                const std::vector<ComparisonRow> &rows, size_t k,
                                const std::vector<std::string> &failed) {
    std::string out = Wrap(Format("vs old %zu: ", k + 1) + old.Name);
    // What makes the two sides' figures unlike, another build's version or
    // architecture among it, is said before the figures.
    if (const std::string differences = SettingDifferences(report.Set, old.Set);
        !differences.empty()) {
        out += Wrap("warning: the runs differ in " + differences);
    }
    const int width = NameWidth(report) + 3;
    for (size_t i = 0; i < report.Tests.size(); i++) {
        const TestRun &test = report.Tests[i];
        std::string cell = "   n/a";
        for (const ComparisonRow &row : rows) {
            cell = row.Now.Index == test.Index ? Cell(row) : cell;
        }
        const bool slower = std::find(failed.begin(), failed.end(), test.Name) != failed.end();
        out += FamilyHeader(report, i) +
               Format("%-*s%s\n", width, (test.Name + (slower ? " <<" : "")).c_str(), cell.c_str());
    }
    double logs = 0;
    int counts[4] = {}, speeds = 0;
    // What moved, named by stem where a whole stem moved. A ratio between two pictures
    // is no speed's: it is named apart, and left out of the counts and the mean.
    std::vector<std::string> moved[2];
    for (const ComparisonRow &row : rows) {
        if (row.OtherPicture) {
            continue;
        }
        logs += std::log(row.Result.Ratio);
        speeds++;
        counts[row.Result.Verdict]++;
        if (row.Result.Verdict != Comparison::NoDifference &&
            row.Result.Verdict != Comparison::TooFew) {
            moved[row.Result.Verdict == Comparison::Slower].push_back(row.Now.Name);
        }
    }
    for (const auto &[names, what] : {std::pair{&moved[1], "slower: "}, {&moved[0], "faster: "}}) {
        if (!names->empty()) {
            out += Wrap(what + Shortened(report, *names));
        }
    }
    out += OtherPictureLine(report, rows);
    const size_t others = rows.size() - static_cast<size_t>(speeds);
    out += Wrap("geometric mean of the ratios " +
                (speeds == 0 ? std::string("-") : Format("%.3f", std::exp(logs / speeds))) +
                Format("; faster %d, slower %d, no significant difference %d, no verdict %d",
                       counts[Comparison::Faster], counts[Comparison::Slower],
                       counts[Comparison::NoDifference], counts[Comparison::TooFew]) +
                (others == 0 ? "" : Format("; left out: %zu other picture(s)", others)));
    // Of the old tests, those the table shows.
    std::vector<OldTest> shown;
    for (const ComparisonRow &row : rows) {
        shown.push_back(row.Before);
    }
    return out + FarLines(Format("old %zu's ", k + 1), shown);
}

// The ceiling's block (--raw): per test the raw rate, the efficiency with its interval,
// the rule's cost per call and the efficiency that cost allows.
static std::string CeilingBlock(const Report &report) {
    std::string out = "ceiling         raw/s   eff. interval       rule ns  bound\n";
    for (const TestRun &test : report.Tests) {
        const std::string interval =
            test.EfficiencyLow
                ? Format("[%.1f, %.1f]", *test.EfficiencyLow * 100, *test.EfficiencyHigh * 100)
                : "";
        out += Format("%-10s", test.Name.c_str()) +
               (test.Efficiency ? Format(" %9.0f %5.1f%% %-14s %7.1f %5.1f%%", *test.RawMedian,
                                         *test.Efficiency * 100, interval.c_str(), *test.RuleNs,
                                         *test.Bound * 100)
                                : Format(" %9s %6s %-14s %7s %6s", "-", "-", "", "-", "-"));
        EndLine(out);
    }
    return out +
           Wrap("(raw/s: the same calls replayed, only the platform calls timed; eff.: the "
                "rate against the raw rate; rule ns: the measuring rule's cost per call; bound: "
                "the efficiency that cost alone allows. An interval wholly below its bound: the "
                "harness costs more than its rule. An interval above its bound: the rule cost "
                "less than its measured cost, an upper estimate (the loop overlaps the draws and "
                "the tick reads), so the harness costs no more than its rule. Far above 100%: the "
                "scored and raw samples ran under different load; compare their spreads.)");
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
    out += FarLines("", report.Tests);
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
