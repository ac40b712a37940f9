#include "Options.h"

#include "OptionValues.h"
#include "OptionsText.h"
#include "Files.h"
#include "Suites.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstring>
#include <sstream>

namespace {

// The value as the help shows it for a default.
template <class T> std::string Shown(T value) {
    std::ostringstream text;
    text << value;
    return text.str();
}

// Each kind of option, declared with its check.
CLI::Option *Flag(CLI::App &app, const char *name, bool &value, const std::string &help) {
    return app.add_flag(name, value, help)->check(FLAG);
}
template <class T>
CLI::Option *Number(CLI::App &app, const char *name, T &value, const char *label,
                    const CLI::Validator &range, const std::string &help) {
    return app.add_option(name, value, help)->type_name(label)->transform(range);
}
CLI::Option *File(CLI::App &app, const char *name, std::string &file, const std::string &help) {
    return app.add_option(name, file, help)->type_name("FILE")->check(FILE_NAME);
}

// Every option, once: its name, where its value goes, its check (which also says what
// it takes), its default and its help. The defaults shown are o's values: o is fresh
// when the options are declared.
void Declare(CLI::App &app, Options &o) {
    app.set_help_flag();
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    Flag(app, "-h,--help", o.Help, "show this text");
    Flag(app, "--version", o.Version, "show the version and the flavour");
    app.set_config("--config", "", "read options from FILE (below)")
        ->type_name("FILE")
        ->check(FILE_NAME);
    FrameOptions(app);
    app.add_option_function<std::string>(
           "--suite",
           [&o](const std::string &suite) {
               o.Measure.Wide = suite == "wide" ? true
                                : suite == "seven"
                                    ? false
                                    : throw CLI::ValidationError(
                                          "--suite", "takes seven or wide, not '" + suite + "'");
           },
           "seven: the interactive program's tests; wide: 149 tests, one drawing operation at "
           "one size, mode or depth each (by default --window-ms 200 --repeat 3)")
        ->type_name("SUITE")
        ->default_str("seven");
    app.add_option("--tests", o.TestList,
                   "the tests to run, for example Pixel,BitBlt or 1,6, or with the wide suite "
                   "'BitBlt.*','*.500' or a family, lines; always in table order (--list shows "
                   "them and their indices; with --from, the tests read)")
        ->type_name("LIST")
        ->check(TEST_LIST)
        ->default_str("all");
    Flag(app, "--list", o.List,
         "list the suite's tests --tests chooses, with their indices and what each draws");
    Number(app, "--window-ms", o.Measure.WindowMs, "N", Range(Form::WHOLE, 1, 600000),
           "measure each test for more than N ms; the score is then calls per second, "
           "count * 1000 / elapsed")
        ->default_str(Shown(o.Measure.WindowMs));
    Number(app, "--repeat", o.Measure.Repeat, "K", Range(Form::WHOLE, 1, 1000),
           "K samples per test, each drawing what a fresh start draws")
        ->default_str(Shown(o.Measure.Repeat));
    app.add_option_function<std::string>(
           "--offscreen", [&o](const std::string &size) { ParseSize(size, o.Measure); },
           "draw into a memory bitmap of that size (and depth in bits) instead of the window")
        ->type_name("WxH[xD]")
        ->check(SIZE)
        ->default_str("the window");
    Flag(app, "--raw", o.Measure.Raw,
         "also time the platform calls alone, with the random values drawn ahead, and report "
         "the harness's efficiency");
    app.add_option_function<double>(
           "--precision", [&o](double percent) { o.Measure.Precision = percent / 100; },
           "take rounds of samples (--repeat at least) until each test's rate is known to +-P % "
           "at the --confidence, or until --max-seconds have passed")
        ->type_name("P")
        ->transform(Range(Form::PERCENT, 0.1, 50))
        ->default_str("none: --repeat samples");
    Number(app, "--max-seconds", o.Measure.MaxSeconds, "S", Range(Form::WHOLE, 1, 86400),
           "the time --precision may take")
        ->default_str(Shown(o.Measure.MaxSeconds));
    Number(app, "--warmup-ms", o.Measure.WarmupMs, "N", Range(Form::WHOLE, 0, 600000),
           "run each test N ms untimed before its first sample")
        ->default_str("with more than one sample per test, one window (the wide suite: 20 ms "
                      "at most), else 0");
    Number(app, "--shuffle", o.Measure.ShuffleSeed, "SEED", Range(Form::WHOLE, 0, 4294967295.0),
           "each round's tests in an order drawn from SEED, against drift in a run")
        ->default_str("none: table order");
    Number(app, "--affinity", o.Measure.Affinity, "N", Range(Form::WHOLE, 0, 63),
           "run on logical processor N only")
        ->default_str("any");
    CLI::Option *wait = Flag(app, "--wait", o.Measure.Wait,
                             "while another run measures, wait for its end instead of refusing");
    Flag(app, "--concurrent", o.Measure.Concurrent,
         "measure even while another run measures, each slowing the other")
        ->excludes(wait);
    File(app, "--json", o.Json, "write every sample, the summaries and the setting as JSON");
    File(app, "--csv", o.Csv, "the same as CSV");
    File(app, "--benchmark-json", o.BenchmarkJson,
         "the samples as the common C++ micro-benchmark tools write them (their compare.py "
         "reads two such files)");
    app.add_option("--compare", o.Compare,
                   "compare with runs saved by --json: a file, or a pattern (* and ?) whose "
                   "files form one group (again for more columns; at most " +
                       std::to_string(MAX_COMPARE_BYTES >> 20) +
                       " MiB a file): the ratio of the rates with its interval, and a verdict")
        ->type_name("OLD")
        ->check(FILE_NAME)
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    Number(app, "--fail-slower", o.FailSlower, "P", Range(Form::PERCENT, 0, 100, true),
           "exit with code 4 when a test is slower than the first group compared with (the "
           "--alternate build's, else the first --compare) by more than P %, its whole interval "
           "included");
    Flag(app, "--fail-picture", o.FailPicture,
         "exit with code 5 when a test drew another picture than the first group compared "
         "with");
    CLI::Option *from =
        app.add_option("--from", o.From,
                       "measure nothing: the runs saved in these files (a pattern, * and ?; again "
                       "for more) form the group reported and compared, as a measured run would")
            ->type_name("SAVED")
            ->check(FILE_NAME)
            ->allow_extra_args(false)
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    Number(app, "--runs", o.Measure.Runs, "N", Range(Form::WHOLE, 1, 1000),
           "make N runs, each in a fresh process with its warm-up and samples; the table and "
           "files hold them as one group, each sample with its run")
        ->excludes(from);
    File(app, "--alternate", o.Measure.Alternate,
         "the --runs alternate between this build and the QuenzelRun OTHER, with the same "
         "options; OTHER's group is saved beside --json (NAME-other.json) and compared with")
        ->type_name("OTHER")
        ->excludes(from);
    Number(app, "--confidence", o.Measure.Confidence, "C", Range(Form::DECIMAL, 0.5, 0.999),
           "of the intervals and verdicts")
        ->default_str(Shown(o.Measure.Confidence));
    File(app, "--svg", o.Svg, "draw a chart of the results (and of OLD when comparing)");
    app.add_option("--pictures", o.Measure.Pictures,
                   "write each test's picture (its first calls as drawn and read back) into DIR "
                   "as a PNG file named after the test, and for each test that drew another "
                   "picture than the first group compared with, TEST-diff.png: both pictures "
                   "and the pixels that differ; --alternate's other build's go to DIR-other")
        ->type_name("DIR")
        ->check(FOLDER_NAME);
    Flag(app, "--no-pictures", o.Measure.SkipPictures,
         "draw no pictures after measuring, so none is saved, written or compared (the runs of "
         "--runs after each build's first draw none)");
    File(app, "--snapshot", o.Snapshot,
         "save the drawing area as a BMP file after the first test of the last round");
    Flag(app, "--host", o.Measure.Host, "name the host in the saved setting");
    Flag(app, "--quiet", o.Measure.Quiet, "no progress on stderr");
}

} // namespace

std::string Usage() {
    CLI::App app("Runs the drawing tests as the interactive program does and prints the scores.",
                 "QuenzelRun");
    Options scratch;
    Declare(app, scratch);
    return app.help();
}

bool ParseOptions(int argc, const char *const argv[], Options &options, std::string &error) {
    options = Options{};
    CLI::App app;
    Declare(app, options);
    try {
        app.parse(argc, argv);
        // The names and patterns are the suite's, whichever option came first; with
        // --from, the suite of the runs read, once they are.
        std::string wrong;
        if (options.From.empty() &&
            !ChooseTests(options.TestList.empty() ? "*" : options.TestList, options.Measure.Wide,
                         options.Measure.Tests, wrong)) {
            throw CLI::ValidationError("--tests", wrong);
        }
    } catch (const CLI::Error &e) {
        error = InOwnWords(app, e);
        return false;
    }
    // The wide suite's defaults: its 149 tests in about three minutes.
    if (options.Measure.Wide && app.count("--window-ms") == 0) {
        options.Measure.WindowMs = 200;
    }
    if (options.Measure.Wide && app.count("--repeat") == 0) {
        options.Measure.Repeat = 3;
    }
    for (auto name = options.Compare.begin(); name != options.Compare.end(); name++) {
        if (std::find(options.Compare.begin(), name, *name) != name) {
            error = "--compare: file '" + *name + "' is named twice";
            return false;
        }
    }
    if ((options.FailSlower > 0 || options.FailPicture) && options.Compare.empty() &&
        options.Measure.Alternate.empty()) {
        error = std::string(options.FailPicture ? "--fail-picture" : "--fail-slower") +
                ": only with --compare or --alternate";
        return false;
    }
    if (!options.Snapshot.empty() && (options.Measure.Runs > 1 || !options.From.empty())) {
        error = "--snapshot is of one run measured here, not of --runs or --from";
        return false;
    }
    if (!options.Measure.Alternate.empty() && (options.Measure.Runs < 2 || options.Json.empty())) {
        error = "--alternate: only with --runs 2 or more, and --json for the groups' files";
        return false;
    }
    options.Measure.Shuffle = app.count("--shuffle") > 0;
    options.Measure.Snapshot = !options.Snapshot.empty();
    // The wide suite's short windows follow one another closely: a first sample is no
    // slower than the rest after a few calls of its test (measurements/wide-warm-up.txt),
    // and a window's warm-up each would be a third of an A/B's time.
    if (app.count("--warmup-ms") == 0 &&
        (options.Measure.Repeat > 1 || options.Measure.Precision > 0)) {
        options.Measure.WarmupMs = options.Measure.Wide ? std::min(options.Measure.WindowMs, 20u)
                                                        : options.Measure.WindowMs;
    }
    return true;
}
