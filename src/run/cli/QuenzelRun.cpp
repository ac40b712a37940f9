// QuenzelRun: the interactive program's seven tests for automation, and a wide suite
// of one drawing operation each. By default it draws what the interactive program
// draws, on the same kind of window, with the same window rule and score; options
// select the suite and tests, repeat, compare and export them.
#include "Console.h"
#include "Files.h"
#include "Group.h"
#include "Machine.h"
#include "Measure.h"
#include "Options.h"
#include "Paths.h"
#include "Progress.h"
#include "Png.h"
#include "Process.h"
#include "Runs.h"
#include "Saved.h"
#include "SavedGroups.h"
#include "Show.h"
#include "Suites.h"
#include "Summary.h"
#include "TestNames.h"
#include "WideTable.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <new>

static int Fail(const std::string &message, int code) {
    std::fprintf(stderr, "QuenzelRun: %s\n", message.c_str());
    return code;
}

// The exit code of a run that --fail-slower found slower than the first --compare run.
constexpr int SLOWER = 4;
// The exit code of a run that --fail-picture found drawing another picture.
constexpr int OTHER_PICTURE = 5;

#ifdef UNDER_CE
constexpr bool HANDHELD = true;
#else
constexpr bool HANDHELD = false;
#endif

static_assert(LAST_TEST == TEST_COUNT, "saved runs number their tests as the test table does");

// --tests with --from: the tests read that the list names in their suite.
static bool ChooseRead(const std::string &list, Report &report, std::string &error) {
    std::vector<int> chosen;
    if (!ChooseTests(list, report.Set.Suite == "wide", chosen, error)) {
        return false;
    }
    std::erase_if(report.Tests, [&](const TestRun &test) {
        return std::find(chosen.begin(), chosen.end(), test.Index) == chosen.end();
    });
    error = "--tests: the runs read hold none of the tests '" + list + "' names";
    return !report.Tests.empty();
}

// The groups to compare with are of the run's suite; a gate's group holds one of its
// tests at least. False with the message.
static bool Comparable(const Options &run, const std::string &suite,
                       const std::vector<std::string> &names, const std::vector<OldRun> &olds,
                       std::string &error) {
    for (const OldRun &old : olds) {
        if (old.Set.Suite != suite) {
            error = "--compare '" + old.Name + "' holds runs of the " + old.Set.Suite +
                    " suite, and these are of the " + suite +
                    " suite: two suites are never compared";
            return false;
        }
    }
    const char *gate = run.FailSlower > 0 ? "--fail-slower" : "--fail-picture";
    const bool gated = run.FailSlower > 0 || run.FailPicture;
    if (gated && run.Measure.Alternate.empty() && !olds.empty() &&
        std::none_of(names.begin(), names.end(),
                     [&](const std::string &name) { return FindName(olds[0], name); })) {
        error = std::string(gate) + ": '" + olds[0].Name +
                "' holds none of these tests, so the gate would judge nothing";
        return false;
    }
    return true;
}

int main() {
    const ULONGLONG begun = GetTickCount64();
    PrepareConsole();
    const std::vector<std::string> arguments = Arguments();
    std::vector<const char *> argv = {"QuenzelRun"};
    for (const std::string &argument : arguments) {
        argv.push_back(argument.c_str());
    }
    Options run;
    std::string error;
    if (!ParseOptions(static_cast<int>(argv.size()), argv.data(), run, error)) {
        return Fail(error, 2);
    }
    // The handheld platform lacks some of the wide suite's operations.
    run.Measure.Tests.erase(std::remove_if(run.Measure.Tests.begin(), run.Measure.Tests.end(),
                                           [&](int test) {
                                               return HANDHELD && run.Measure.Wide &&
                                                      !OnHandheld(WIDE_TABLE[test]);
                                           }),
                            run.Measure.Tests.end());
    if (run.Help || run.Version || run.List) {
        return WriteOut(run.Help      ? Usage()
                        : run.Version ? VersionLine()
                                      : ListText(run.Measure.Wide, HANDHELD, run.Measure.Tests))
                   ? 0
                   : Fail("cannot write to standard output", 1);
    }
    if (run.Measure.Tests.empty() && run.From.empty()) {
        return Fail("--tests: none of these tests is offered on this platform", 2);
    }
    // Everything that can be checked is checked before a long run starts.
    Report report, other;
    std::vector<OldRun> olds;
    Compared compared; // made once the run is summarised
    int failed = 0;    // a run of --runs that failed
    std::string snapshot;
    std::vector<std::string> pictures; // each test's, as a PNG file's bytes
    const std::string otherJson = run.Measure.Alternate.empty() ? "" : OtherFileName(run.Json);
    // Each output and how it is made once the run is measured.
    const std::vector<std::tuple<std::string, const std::string &, std::function<std::string()>>>
        files = {
            {"--json", run.Json, [&] { return ToJson(report, olds, compared); }},
            {"--csv", run.Csv, [&] { return ToCsv(report, olds, compared); }},
            {"--svg", run.Svg, [&] { return ToSvg(report, olds, compared); }},
            {"--benchmark-json", run.BenchmarkJson, [&] { return ToBenchmarkJson(report); }},
            {"--snapshot", run.Snapshot, [&] { return snapshot; }},
            {"--alternate", otherJson, [&] { return ToJson(other, {}); }},
        };
    Outputs outputs;
    for (const auto &[option, path, make] : files) {
        if (!path.empty()) {
            outputs.push_back({option, path});
        }
    }
    if (!CheckOutputs(outputs, error)) {
        return Fail(error, 2);
    }
    if (!run.Measure.Pictures.empty() &&
        (!MakeFolder("--pictures", run.Measure.Pictures, error) ||
         (!run.Measure.Alternate.empty() &&
          !MakeFolder("--pictures", OtherFolderName(run.Measure.Pictures), error)))) {
        return Fail(error, 2);
    }
    for (const std::string &pattern : run.Compare) {
        olds.emplace_back();
        if (!ReadCompareGroup(pattern, outputs, olds.back(), error)) {
            return Fail(error, 2);
        }
    }
    std::vector<std::string> names;
    for (const int test : run.Measure.Tests) {
        names.push_back(TestName(run.Measure.Wide, test));
    }
    if (run.From.empty() &&
        !Comparable(run, run.Measure.Wide ? "wide" : "seven", names, olds, error)) {
        return Fail(error, 2);
    }
    if (!run.From.empty()) {
        // Saved runs in place of a measured one: nothing measured, nothing guarded; the
        // tests chosen are among those read.
        if (!ReadFromGroup(run.From, outputs, report, error) ||
            (!run.TestList.empty() && !ChooseRead(run.TestList, report, error))) {
            return Fail(error, 2);
        }
        names.clear();
        for (const TestRun &test : report.Tests) {
            names.push_back(test.Name);
        }
        if (!Comparable(run, report.Set.Suite, names, olds, error)) {
            return Fail(error, 2);
        }
        report.Set.Confidence = run.Measure.Confidence;
    } else if (run.Measure.Runs > 1) {
        if (!run.Measure.Alternate.empty() && !CheckOther(run.Measure, error)) {
            return Fail(error, 2);
        }
        StopOnConsoleEvents();
        const int code = MakeRuns(run.Measure, report, other, error);
        if (code == INTERRUPTED) {
            return error.empty() ? code : Fail(error, code);
        }
        // A run that failed ends the making; the runs made before it are kept.
        if (code != 0 && report.Tests.empty()) {
            return Fail(error, code);
        }
        failed = code != 0 ? Fail(error + "; the runs made before it are kept", code) : 0;
        if (!run.Measure.Alternate.empty() && !other.Tests.empty()) {
            Summarise(other);
            olds.insert(olds.begin(), AsOld(other, otherJson));
            std::fprintf(stderr, "QuenzelRun: the runs of '%s' go to '%s'\n",
                         run.Measure.Alternate.c_str(), otherJson.c_str());
        }
    } else if (const int code = MeasureRun(run.Measure, report, snapshot, pictures, error);
               code != 0) {
        return Fail(error, code);
    }
    // Where this command's runs' pictures went; saved runs keep where theirs are.
    if (!run.Measure.Pictures.empty() && run.From.empty()) {
        report.Set.Pictures = FullName(run.Measure.Pictures);
        other.Set.Pictures = FullName(OtherFolderName(run.Measure.Pictures));
    }

    // From here on the samples are never lost: a step that fails for lack of memory
    // names itself, and every other output is still made.
    int code = failed;
    try {
        Summarise(report);
        compared = CompareAll(report, olds);
        std::vector<std::string> notes;
        if (!ShowDifferences(report, olds, compared, run.Measure.Pictures, notes, error)) {
            code = Fail(error, 1);
        }
        for (const std::string &note : notes) {
            std::fprintf(stderr, "QuenzelRun: %s\n", note.c_str());
        }
        if (!WriteOut(ToTable(report, olds, compared, run.FailSlower))) {
            code = Fail("cannot write the table to standard output", 1);
        }
    } catch (const std::bad_alloc &) {
        code = Fail("not enough memory for the summaries and the table", 1);
    }
    for (size_t i = 0; i < pictures.size(); i++) {
        const std::string file = InFolder(run.Measure.Pictures, PictureFile(report.Tests[i].Name));
        if (pictures[i].empty() || !WriteAtomically(file, pictures[i], error)) {
            code = Fail(
                pictures[i].empty() ? "--pictures: no PNG file can be made of " + file : error, 1);
            break;
        }
    }
    // A saved run names its pictures' folder from its own where it can.
    report.Set.Pictures = PlaceFrom(run.Json, report.Set.Pictures);
    other.Set.Pictures = PlaceFrom(otherJson, other.Set.Pictures);
    for (const auto &[option, path, make] : files) {
        // OTHER's group is written when it holds a run.
        if (path.empty() || (&path == &otherJson && other.Tests.empty())) {
            continue;
        }
        std::string text;
        try {
            text = make();
            if (!text.empty() && !WriteAtomically(path, text, error)) {
                code = Fail(error, 1);
            }
        } catch (const std::bad_alloc &) {
            text.clear();
        }
        if (text.empty()) {
            code = Fail(option + " file '" + path + "': not enough memory to make or write it", 1);
        }
    }
    // The gate trips after every output is written, so nothing of the run is lost.
    if ((run.FailSlower > 0 || run.FailPicture) && (compared.empty() || compared[0].empty())) {
        const int nothing =
            Fail(std::string(run.FailSlower > 0 ? "--fail-slower" : "--fail-picture") +
                     ": no test was compared with '" +
                     (olds.empty() ? run.Measure.Alternate : olds[0].Name) +
                     "', so the gate judged nothing",
                 2);
        code = code == 0 ? nothing : code;
    } else if (!compared.empty()) {
        std::string slower;
        for (const std::string &name : SlowerBeyond(compared.at(0), run.FailSlower)) {
            slower += " " + name;
        }
        if (!slower.empty()) {
            char percent[32];
            std::snprintf(percent, sizeof percent, "%g", run.FailSlower);
            const int failed =
                Fail("slower than '" + olds[0].Name + "' by more than " + percent + " %:" + slower,
                     SLOWER);
            code = code == 0 ? failed : code;
        }
        std::string other;
        for (const std::string &name : OtherPictures(compared.at(0))) {
            other += " " + name;
        }
        if (run.FailPicture && !other.empty()) {
            const int failed =
                Fail("another picture than '" + olds[0].Name + "':" + other, OTHER_PICTURE);
            code = code == 0 ? failed : code;
        }
    }
    // Where a command of several runs spent its time.
    if (run.Measure.Runs > 1 && !run.Measure.Quiet) {
        Phases spent = report.Set.Spent;
        AddPhases(spent, other.Set.Spent, 1);
        std::fprintf(
            stderr, "QuenzelRun: %s\n",
            TimeSpentLine(spent, static_cast<double>(GetTickCount64() - begun),
                          static_cast<int>(RunNumbers(report).size() + RunNumbers(other).size()))
                .c_str());
    }
    return code;
}
