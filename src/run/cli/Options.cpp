#include "Options.h"

#include "OptionValues.h"
#include "OptionsText.h"
#include "Outputs.h"

#include <CLI/CLI.hpp>

#include "WideTable.h"

#include <algorithm>
#include <cstring>
#include <sstream>

std::string TestName(bool wide, int i) {
    return wide ? WIDE_TABLE[i].Name : TEST_NAMES[i];
}

std::string ListText(bool wide, bool handheld, const std::vector<int> &tests) {
    const auto chosen = [&](int i) {
        return std::find(tests.begin(), tests.end(), i) != tests.end();
    };
    // Each test under its index, which --tests takes as well as the name.
    const auto line = [](int i, const std::string &name, const char *says, size_t width) {
        std::string index = std::to_string(i);
        return std::string(5 - index.size(), ' ') + index + "  " + name +
               std::string(name.size() < width ? width - name.size() : 1, ' ') + says + "\n";
    };
    if (!wide) {
        static const char *const SAYS[TEST_COUNT + 1] = {
            "",
            "one pixel of a random colour",
            "a line between two random points, a random pen",
            "a rectangle, random brush and pen",
            "a rounded rectangle, random brush and pen",
            "an ellipse, random brush and pen",
            "a random block of the source bitmap, SRCCOPY",
            "1 to 8 random characters in a random font, opaque"};
        std::string out;
        for (int i = 1; i <= TEST_COUNT; i++) {
            out += chosen(i) ? line(i, TEST_NAMES[i], SAYS[i], 12) : "";
        }
        const std::string of = tests.size() < TEST_COUNT ? " of " + std::to_string(TEST_COUNT) : "";
        return "The seven tests (" + std::to_string(tests.size()) + of + "):\n" + out;
    }
    std::string body;
    int offered = 0;
    for (const char *family : WIDE_FAMILIES) {
        int count = 0;
        std::string lines;
        for (int i = 1; i <= WIDE_COUNT; i++) {
            const WideTest &test = WIDE_TABLE[i];
            const bool here =
                std::strcmp(test.Family, family) == 0 && (!handheld || OnHandheld(test));
            offered += here;
            if (here && chosen(i)) {
                lines += line(i, test.Name, test.Says, 32);
                count++;
            }
        }
        body +=
            count == 0 ? "" : std::string(family) + " (" + std::to_string(count) + "):\n" + lines;
    }
    const std::string of =
        static_cast<int>(tests.size()) < offered ? " of " + std::to_string(offered) : "";
    return "The wide suite (" + std::to_string(tests.size()) + of + " tests):\n" + body;
}

bool ChooseTests(const std::string &list, bool wide, std::vector<int> &tests, std::string &error) {
    try {
        tests = ParseTests(list, wide);
    } catch (const CLI::Error &e) {
        error = e.what();
        return false;
    }
    return true;
}

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
               o.Wide = suite == "wide" ? true
                        : suite == "seven"
                            ? false
                            : throw CLI::ValidationError("--suite", "takes seven or wide, not '" +
                                                                        suite + "'");
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
    Number(app, "--window-ms", o.WindowMs, "N", Range(Form::WHOLE, 1, 600000),
           "measure each test for more than N ms; the score is then calls per second, "
           "count * 1000 / elapsed")
        ->default_str(Shown(o.WindowMs));
    Number(app, "--repeat", o.Repeat, "K", Range(Form::WHOLE, 1, 1000),
           "K samples per test, each drawing what a fresh start draws")
        ->default_str(Shown(o.Repeat));
    app.add_option_function<std::string>(
           "--offscreen", [&o](const std::string &size) { ParseSize(size, o); },
           "draw into a memory bitmap of that size (and depth in bits) instead of the window")
        ->type_name("WxH[xD]")
        ->check(SIZE)
        ->default_str("the window");
    Flag(app, "--raw", o.Raw,
         "also time the platform calls alone, with the random values drawn ahead, and report "
         "the harness's efficiency");
    app.add_option_function<double>(
           "--precision", [&o](double percent) { o.Precision = percent / 100; },
           "take rounds of samples (--repeat at least) until each test's rate is known to +-P % "
           "at the --confidence, or until --max-seconds have passed")
        ->type_name("P")
        ->transform(Range(Form::PERCENT, 0.1, 50))
        ->default_str("none: --repeat samples");
    Number(app, "--max-seconds", o.MaxSeconds, "S", Range(Form::WHOLE, 1, 86400),
           "the time --precision may take")
        ->default_str(Shown(o.MaxSeconds));
    Number(app, "--warmup-ms", o.WarmupMs, "N", Range(Form::WHOLE, 0, 600000),
           "run each test N ms untimed before its first sample")
        ->default_str("one window with more than one sample per test, else 0");
    Number(app, "--shuffle", o.ShuffleSeed, "SEED", Range(Form::WHOLE, 0, 4294967295.0),
           "each round's tests in an order drawn from SEED, against drift in a run")
        ->default_str("none: table order");
    Number(app, "--affinity", o.Affinity, "N", Range(Form::WHOLE, 0, 63),
           "run on logical processor N only")
        ->default_str("any");
    CLI::Option *wait = Flag(app, "--wait", o.Wait,
                             "while another run measures, wait for its end instead of refusing");
    Flag(app, "--concurrent", o.Concurrent,
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
    Number(app, "--runs", o.Runs, "N", Range(Form::WHOLE, 1, 1000),
           "make N runs, each in a fresh process with its warm-up and samples; the table and "
           "files hold them as one group, each sample with its run")
        ->excludes(from);
    File(app, "--alternate", o.Alternate,
         "the --runs alternate between this build and the QuenzelRun OTHER, with the same "
         "options; OTHER's group is saved beside --json (NAME-other.json) and compared with")
        ->type_name("OTHER")
        ->excludes(from);
    Number(app, "--confidence", o.Confidence, "C", Range(Form::DECIMAL, 0.5, 0.999),
           "of the intervals and verdicts")
        ->default_str(Shown(o.Confidence));
    File(app, "--svg", o.Svg, "draw a chart of the results (and of OLD when comparing)");
    app.add_option("--pictures", o.Pictures,
                   "write each test's picture (its first calls as drawn and read back) into DIR "
                   "as a PNG file named after the test, and for each test that drew another "
                   "picture than the first group compared with, TEST-diff.png: both pictures "
                   "and the pixels that differ; --alternate's other build's go to DIR-other")
        ->type_name("DIR")
        ->check(FOLDER_NAME);
    File(app, "--snapshot", o.Snapshot,
         "save the drawing area as a BMP file after the first test of the last round");
    Flag(app, "--host", o.Host, "name the host in the saved setting");
    Flag(app, "--quiet", o.Quiet, "no progress on stderr");
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
        if (options.From.empty()) {
            options.Tests =
                ParseTests(options.TestList.empty() ? "*" : options.TestList, options.Wide);
        }
    } catch (const CLI::Error &e) {
        error = InOwnWords(app, e);
        return false;
    }
    if (options.Wide && options.Raw) {
        error = "--raw: the seven tests only; the wide suite's workloads draw no values ahead";
        return false;
    }
    // The wide suite's defaults: its 149 tests in about three minutes.
    if (options.Wide && app.count("--window-ms") == 0) {
        options.WindowMs = 200;
    }
    if (options.Wide && app.count("--repeat") == 0) {
        options.Repeat = 3;
    }
    for (auto name = options.Compare.begin(); name != options.Compare.end(); name++) {
        if (std::find(options.Compare.begin(), name, *name) != name) {
            error = "--compare: file '" + *name + "' is named twice";
            return false;
        }
    }
    if ((options.FailSlower > 0 || options.FailPicture) && options.Compare.empty() &&
        options.Alternate.empty()) {
        error = std::string(options.FailPicture ? "--fail-picture" : "--fail-slower") +
                ": only with --compare or --alternate";
        return false;
    }
    if (!options.Snapshot.empty() && (options.Runs > 1 || !options.From.empty())) {
        error = "--snapshot is of one run measured here, not of --runs or --from";
        return false;
    }
    if (!options.Alternate.empty() && (options.Runs < 2 || options.Json.empty())) {
        error = "--alternate: only with --runs 2 or more, and --json for the groups' files";
        return false;
    }
    options.Shuffle = app.count("--shuffle") > 0;
    if (app.count("--warmup-ms") == 0 && (options.Repeat > 1 || options.Precision > 0)) {
        options.WarmupMs = options.WindowMs;
    }
    return true;
}
