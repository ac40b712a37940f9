// QuenzelRun: the interactive program's seven tests for automation. By default it
// draws what the interactive program draws, on the same kind of window, with the
// same window rule and score; options select tests, repeat and export them.
#include "Machine.h"
#include "Outputs.h"
#include "Sampler.h"

#include <cstdio>

static int Fail(const std::string &message, int code) {
    std::fprintf(stderr, "QuenzelRun: %s\n", message.c_str());
    return code;
}

int main(int argc, char *argv[]) {
    Options run;
    std::string error;
    if (!ParseOptions(argc, argv, run, error)) {
        return Fail(error, 2);
    }
    if (run.Help) {
        std::fputs(Usage().c_str(), stdout);
        return 0;
    }
    // Everything that can be checked is checked before a long run starts.
    std::vector<OldRun> olds;
    for (const std::string &path : run.Compare) {
        std::string text;
        olds.push_back({path, Report{}});
        if (!ReadWhole(path, text)) {
            return Fail("cannot read --compare file '" + path + "'", 2);
        }
        if (!ParseReport(text, olds.back().Run, error)) {
            return Fail("--compare file '" + path + "' is not a saved run: " + error, 2);
        }
    }
    if (!CheckOutputs(run, error)) {
        return Fail(error, 2);
    }
    if (run.Affinity >= 0 && !PinToProcessor(run.Affinity, error)) {
        return Fail(error, 2);
    }

    Target target;
    if (!target.Open(run.OffscreenWidth, run.OffscreenHeight)) {
        return Fail(run.OffscreenWidth > 0 ? "--offscreen: no bitmap of that size can be made"
                                           : "cannot open the window",
                    1);
    }
    Report report;
    report.Set = Describe(run, target);
    MeasureClocks(run, report.Set);
    if (run.WindowMs < 10 * report.Set.TickStepMs) {
        std::fprintf(stderr,
                     "QuenzelRun: warning: the tick counter moves in steps of %.0f ms; a window "
                     "of %lu ms is measured mostly in rounding\n",
                     report.Set.TickStepMs, static_cast<unsigned long>(run.WindowMs));
    }
    for (INT test : run.Tests) {
        TestRun entry;
        entry.Index = test;
        entry.Name = TestName(test);
        report.Tests.push_back(entry);
    }
    std::string snapshot;
    const bool measured = RunSamples(run, target, report, snapshot, error);
    target.Close();
    if (!measured) {
        return Fail(error, 1);
    }

    Summarise(report);
    std::fputs(ToTable(report, olds).c_str(), stdout);
    std::fflush(stdout);
    const std::pair<const std::string &, std::string> files[] = {
        {run.Json, run.Json.empty() ? "" : ToJson(report)},
        {run.Csv, run.Csv.empty() ? "" : ToCsv(report)},
        {run.Svg, run.Svg.empty() ? "" : ToSvg(report, olds)},
        {run.BenchmarkJson, run.BenchmarkJson.empty() ? "" : ToBenchmarkJson(report)},
        {run.Snapshot, snapshot},
    };
    int code = 0;
    for (const auto &[path, text] : files) {
        if (!path.empty() && !WriteAtomically(path, text, error)) {
            code = Fail(error, 1);
        }
    }
    return code;
}
