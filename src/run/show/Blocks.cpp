// The comparison blocks under the table: each test's ratio, interval and verdict
// against a group saved before, and what the block comes to.
#include "Group.h"
#include "Lines.h"
#include "Show.h"
#include "Suites.h"
#include "Summary.h"

#include <algorithm>
#include <cmath>
#include <map>

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
std::string CompareBlock(const Report &report, const OldRun &old,
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
    std::map<Comparison::Kind, int> counts;
    int speeds = 0;
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
    std::vector<NamedMedians> shown;
    for (const ComparisonRow &row : rows) {
        shown.push_back({row.Before.Name, RunMedians(row.Before)});
    }
    return out + FarLines(Format("old %zu's ", k + 1), shown);
}

std::string DifferenceText(const PictureDifference &d) {
    return Format("%lld pixel%s in x %d to %d, y %d to %d, by at most %d in a channel", d.Pixels,
                  d.Pixels == 1 ? "" : "s", d.Left, d.Right, d.Top, d.Bottom, d.Largest);
}
