#include "Files.h"
#include "Options.h"
#include "Suites.h"
#include "WideTable.h"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <iterator>
#include <sstream>

#include <unistd.h>

namespace {

using Strings = std::vector<std::string>;

Strings Words(const std::string &line) {
    std::istringstream in(line);
    return Strings(std::istream_iterator<std::string>(in), {});
}

// Fields of mixed types as one list of numbers, to compare with known values at once.
template <class... T> std::vector<double> Nums(T... values) {
    return {double(values)...};
}

// The options of that command line, or false with the one-line message.
bool Parse(const Strings &args, Options &options, std::string &error) {
    std::vector<const char *> argv = {"QuenzelRun"};
    for (const std::string &arg : args) {
        argv.push_back(arg.c_str());
    }
    return ParseOptions(static_cast<int>(argv.size()), argv.data(), options, error);
}

TEST(RunOptions, ValuesInBothFormsAndTestsInTableOrder) {
    Options o;
    std::string error;
    ASSERT_TRUE(Parse({}, o, error));
    EXPECT_EQ(Nums(double(o.Measure.Tests.size()), o.Measure.WindowMs, o.Measure.Repeat,
                   o.Measure.OffscreenWidth, o.Measure.Raw, o.Help, o.Version, o.Measure.Quiet,
                   o.Measure.Host, o.Measure.Confidence, o.Measure.Affinity, o.Measure.WarmupMs,
                   o.Measure.Shuffle, o.Measure.Precision, o.Measure.MaxSeconds, o.FailSlower,
                   o.Measure.Wait, o.Measure.Concurrent),
              Nums(7, 10000, 1, 0, 0, 0, 0, 0, 0, 0.99, -1, 0, 0, 0, 600, 0, 0, 0))
        << "the interactive program's run: one cold sample, and the host stays private";
    ASSERT_TRUE(Parse(
        Words("--tests textout,3,Rectangle,7 --window-ms=1 --repeat 3 --repeat 1000 "
              "--offscreen 16384X1 --raw --json a --csv=b --svg c --compare o --snapshot d -h "
              "--quiet --host --confidence=0.5000000000 --affinity 63 --warmup-ms 600000 "
              "--shuffle 4294967295 --precision 0.1% --max-seconds 000000086400 "
              "--benchmark-json e --compare p --fail-slower=99.9% --version --wait"),
        o, error))
        << error;
    EXPECT_EQ(Nums(o.Measure.Quiet, o.Measure.Host, o.Measure.Confidence, o.Measure.Affinity,
                   o.Measure.WarmupMs, o.Measure.Shuffle, o.Measure.ShuffleSeed,
                   o.Measure.Precision, o.Measure.MaxSeconds, o.FailSlower, o.Version,
                   o.Measure.Wait),
              Nums(1, 1, 0.5, 63, 600000, 1, 4294967295.0, 0.001, 86400, 99.9, 1, 1));
    EXPECT_EQ(o.Measure.Tests, (std::vector<int>{3, 7}));
    EXPECT_EQ(Nums(o.Measure.WindowMs, o.Measure.Repeat, o.Measure.OffscreenWidth,
                   o.Measure.OffscreenHeight, o.Measure.Raw, o.Help),
              Nums(1, 1000, 16384, 1, 1, 1));
    EXPECT_EQ(
        (Strings{o.Json, o.Csv, o.Svg, o.Snapshot, o.BenchmarkJson, o.Compare[0], o.Compare[1]}),
        (Strings{"a", "b", "c", "d", "e", "o", "p"}));
    // Numbers are decimal however written: 010 is ten, not octal eight.
    ASSERT_TRUE(Parse(Words("--tests=BitBlt,1 --window-ms 600000 --confidence 0.999 --precision "
                            "50 --shuffle 0 --max-seconds 1 --repeat 010 --fail-slower 0.01 "
                            "--compare o --offscreen 0640x00480 --concurrent"),
                      o, error));
    EXPECT_EQ(Nums(o.Measure.Tests[0], o.Measure.Tests[1], o.Measure.WindowMs, o.Measure.Confidence,
                   o.Measure.Precision, o.Measure.Shuffle, o.Measure.MaxSeconds, o.Measure.Repeat,
                   o.FailSlower, o.Measure.OffscreenWidth, o.Measure.OffscreenHeight,
                   o.Measure.Concurrent),
              Nums(1, 6, 600000, 0.999, 0.5, 1, 1, 10, 0.01, 640, 480, 1));
}

// The wide suite: patterns in any case and in any option order, its own defaults, a
// depth off screen; its list counts what each flavour offers.
TEST(RunOptions, TheWideSuiteByPatternsAndDepths) {
    Options o;
    std::string error;
    ASSERT_TRUE(
        Parse(Words("--tests *.500,setpixel --suite wide --offscreen 800x600x16"), o, error))
        << error;
    EXPECT_EQ(Nums(o.Measure.Wide, o.Measure.Tests.size(), o.Measure.Tests[0],
                   o.Measure.OffscreenDepth, o.Measure.WindowMs, o.Measure.Repeat,
                   o.Measure.WarmupMs),
              Nums(1, 43, 1, 16, 200, 3, 20));
    EXPECT_EQ(TestName(true, o.Measure.Tests[1]), "Line.500");
    ASSERT_TRUE(Parse(Words("--suite wide --tests BitBlt.SRC*.1? --window-ms 50 --offscreen 9x9"),
                      o, error));
    std::string names;
    for (const int test : o.Measure.Tests) {
        names += TestName(true, test) + " ";
    }
    EXPECT_EQ(names, "BitBlt.SRCCOPY.10 BitBlt.SRCAND.10 BitBlt.SRCPAINT.10 BitBlt.SRCINVERT.10 ");
    EXPECT_EQ(Nums(o.Measure.WindowMs, o.Measure.Repeat, o.Measure.OffscreenDepth),
              Nums(50, 3, 32));
    for (const auto &[pattern, name, match] :
         std::vector<std::tuple<std::string, std::string, bool>>{{"a*b*c", "aXbYc", true},
                                                                 {"a*b*c", "aXbYcd", false},
                                                                 {"*", "", true},
                                                                 {"?", "", false},
                                                                 {"*c", "abcbc", true},
                                                                 {"a?c", "AbC", true},
                                                                 {"", "a", false}}) {
        EXPECT_EQ(Matches(pattern, name), match) << pattern << " " << name;
    }
    Options all;
    ASSERT_TRUE(Parse(Words("--suite wide"), all, error));
    std::vector<int> offered;
    std::copy_if(all.Measure.Tests.begin(), all.Measure.Tests.end(), std::back_inserter(offered),
                 [](int test) { return OnHandheld(WIDE_TABLE[test]); });
    const std::string desktop = ListText(true, false, all.Measure.Tests),
                      handheld = ListText(true, true, offered);
    EXPECT_EQ(desktop.substr(0, desktop.find('\n')), "The wide suite (149 tests):");
    EXPECT_EQ(handheld.substr(0, handheld.find('\n')), "The wide suite (105 tests):");
    for (const char *family : {"\npoints (3):\n", "\nlines (21):\n", "\nregions (13):\n"}) {
        EXPECT_NE(desktop.find(family), std::string::npos) << family;
    }
    EXPECT_EQ(handheld.find("SetPixelV"), std::string::npos);
    // A name's size is the test's (TextOut.N counts characters); a wide pen reaches beyond.
    for (int i = 1; i <= WIDE_COUNT; i++) {
        const std::string name = WIDE_TABLE[i].Name;
        const std::string size = !name.rfind("TextOut.", 0)      ? ""
                                 : !name.rfind("Text.Arial.", 0) ? name.substr(11)
                                                                 : name.substr(name.rfind('.') + 1);
        if (std::isdigit(size[0])) {
            EXPECT_EQ(std::stoi(size), WIDE_TABLE[i].Size) << name;
        }
    }
    EXPECT_EQ(WideReach(WIDE_TABLE[WideIndex("Line.width20.500")]), 520);
    EXPECT_NE(ListText(false, false, {6, 7})
                  .find("The seven tests (2 of 7):\n    6  BitBlt "
                        "     a random block of the source bitmap, "
                        "SRCCOPY\n    7  TextOut     1 to 8 random"),
              std::string::npos);
    // A family's name chooses its tests; the list shows what was chosen, with indices.
    ASSERT_TRUE(Parse(Words("--suite wide --tests Points,Line.10"), o, error)) << error;
    const std::string chosen = ListText(true, false, o.Measure.Tests);
    EXPECT_EQ(chosen.substr(0, chosen.find("SetPixelV")),
              "The wide suite (4 of 149 tests):\npoints (3):\n    1  SetPixel" +
                  std::string(24, ' ') + "one pixel of a fixed colour, anywhere\n    2  ");
    EXPECT_TRUE(chosen.find("\nlines (1):\n    4  Line.10 ") != std::string::npos &&
                chosen.find("shapes") == std::string::npos)
        << chosen;
}

// More than one sample per test warms each test up for a window first, unless told.
TEST(RunOptions, WarmupFollowsTheNumberOfSamples) {
    const std::pair<std::string, unsigned> cases[] = {
        {"--repeat 1 --window-ms 50", 0},   {"--repeat 2 --window-ms 50", 50},
        {"--precision 5", 10000},           {"--repeat 5 --warmup-ms 0", 0},
        {"--precision 5 --warmup-ms 7", 7},
    };
    for (const auto &[line, warmup] : cases) {
        Options o;
        std::string error;
        ASSERT_TRUE(Parse(Words(line), o, error)) << error;
        EXPECT_EQ(o.Measure.WarmupMs, warmup) << line;
    }
}

// Each bad input gives one line in QuenzelRun's words: the option, what it takes, the
// value; for a slip, the option meant.
TEST(RunOptions, BadInputIsNamed) {
    const std::pair<Strings, std::string> cases[] = {
        {{"--frobnicate"}, "--frobnicate: no such option; --help lists them"},
        {{"--windowms", "300"}, "--windowms: no such option; did you mean --window-ms?"},
        {{"--REPAET=3"}, "--REPAET: no such option; did you mean --repeat?"},
        {{"--jsn", "a"}, "did you mean --json?"},
        {{"--rawx"}, "did you mean --raw?"},
        {{"--benchmarkjs", "a"}, "did you mean --benchmark-json?"}, // 3 slips in 11 letters
        {{"stray"}, "'stray' is no option, and each option takes one value at most"},
        {{"-x"}, "-x: no such option"},
        {{"--repeat"}, "--repeat: needs one value, a whole number 1 to 1000"},
        {{"--compare", testing::TempDir()}, "--compare: '" + testing::TempDir() + "' is a folder"},
        {{"--wait", "--concurrent"}, "--wait: not with --concurrent"},
        {{"--tests", "Pixel,Circle"},
         "--tests: no test matches 'Circle'; the tests are Pixel, Line, Rectangle, RoundRect, "
         "Ellipse, BitBlt, TextOut, or their indices 1 to 7"},
        {{"--tests", "Line.*"}, "no test matches 'Line.*'"},
        {{"--suite", "wide", "--tests", "Line.*,Circle*"},
         "no test matches 'Circle*'; --suite wide --list shows the tests and their families and "
         "indices (1 to 149)"},
        {{"--suite", "wide", "--tests", "150"}, "'150'"},
        {{"--suite", "all"}, "--suite: takes seven or wide, not 'all'"},
        {{"--fail-picture"}, "--fail-picture: only with --compare or --alternate"},
        {{"--tests", "8"}, "'8'"},
        {{"--tests", "0"}, "'0'"},
        {{"--tests", "1,,2"}, "''"},
        {{"--window-ms", "0"}, "--window-ms: takes a whole number 1 to 600000, not '0'"},
        {{"--window-ms", "600001"}, "'600001'"},
        {{"--window-ms", "1e3"}, "'1e3'"},
        {{"--window-ms", "0x10"}, "'0x10'"},
        {{"--window-ms", "1\n2"}, "not '1 2'"},
        {{"--window-ms", "0000000000001"}, "'0000000000001'"},
        {{"--repeat", "0"}, "--repeat: takes a whole number 1 to 1000, not '0'"},
        {{"--repeat", "1001"}, "'1001'"},
        {{"--repeat", "2.5"}, "'2.5'"},
        {{"--offscreen", "640"},
         "--offscreen: takes WIDTHxHEIGHT, each 1 to 16384, and xDEPTH of 1, 8, 16, 24 or 32 bits "
         "(32 if none), not '640'"},
        {{"--offscreen", "10x10x4"}, "'10x10x4'"},
        {{"--offscreen", "10x10x"}, "'10x10x'"},
        {{"--offscreen", "10x10x8x8"}, "'10x10x8x8'"},
        {{"--offscreen", "0x10"}, "'0x10'"},
        {{"--offscreen", "10x0"}, "'10x0'"},
        {{"--offscreen", "16385x10"}, "'16385x10'"},
        {{"--json"}, "--json: needs one value, a file name"},
        {{"--csv="}, "--csv"},
        {{"--raw=yes"}, "--raw: takes no value, not 'yes'"},
        {{"--quiet=no"}, "'no'"},
        {{"--json", "--raw"}, "--json: needs a file name, not '--raw'"},
        {{"--csv", "---x"}, "'---x'"},
        {{"--compare", "o", "p"}, "p"},
        {{"--compare", "o", "--compare", "o"}, "--compare: file 'o' is named twice"},
        {{"--confidence", "0.49"}, "--confidence: takes a number 0.5 to 0.999, not '0.49'"},
        {{"--confidence", "0.9995"}, "'0.9995'"},
        {{"--confidence", ".9"}, "'.9'"},
        {{"--confidence", "0.9%"}, "'0.9%'"},
        {{"--confidence", "0.5.1"}, "'0.5.1'"},
        {{"--confidence", "0.99000000000"}, "'0.99000000000'"},
        {{"--precision", "0.09"}, "--precision: takes a percentage 0.1 to 50, not '0.09'"},
        {{"--precision", "50.1%"}, "'50.1%'"},
        {{"--precision", "%"}, "'%'"},
        {{"--affinity", "64"}, "--affinity: takes a whole number 0 to 63, not '64'"},
        {{"--warmup-ms", "600001"}, "--warmup-ms: takes a whole number 0 to 600000"},
        {{"--shuffle", "4294967296"}, "--shuffle: takes a whole number 0 to 4294967295"},
        {{"--shuffle=-1"}, "'-1'"},
        {{"--max-seconds", "0"}, "--max-seconds: takes a whole number 1 to 86400, not '0'"},
        {{"--max-seconds", "86401"}, "'86401'"},
        {{"--fail-slower", "5"}, "--fail-slower: only with --compare or --alternate"},
        {{"--alternate", "b", "--runs", "1", "--json", "a"}, "--alternate: only with --runs 2"},
        {{"--alternate", "b", "--runs", "2"}, "and --json for the groups' files"},
        {{"--from", "a", "--runs", "2"}, "--from: not with --runs"},
        {{"--from", "a", "--snapshot", "s"}, "--snapshot is of one run measured here"},
        {{"--runs", "1001"}, "--runs: takes a whole number 1 to 1000"},
        {{"--from", "a*", "--from", "b", "--alternate", "c", "--runs", "2"}, "not with"},
        {{"--compare", "o", "--fail-slower", "0"},
         "--fail-slower: takes a percentage above 0 and below 100, not '0'"},
        {{"--compare", "o", "--fail-slower", "100"}, "'100'"},
        {{"--json", "a", "--csv", "b", "--svg", "c", "--snapshot", "d", "--benchmark-json", "e"},
         ""},
    };
    for (const auto &[args, culprit] : cases) {
        Options options;
        std::string error;
        EXPECT_EQ(Parse(args, options, error), culprit.empty()) << args[0];
        EXPECT_NE(error.find(culprit), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << "one line";
    }
}

// A config file sets what the command line leaves unsaid; its faults are named as its own.
TEST(RunOptions, ConfigFile) {
    // One file for each process: both flavours' tests run at once.
    const std::string path =
        testing::TempDir() + "quenzelrun-options-" + std::to_string(getpid()) + ".ini";
    std::ofstream(path) << "# a fleet's settings\ntests = \"Pixel,BitBlt\"\nrepeat = 9\n"
                           "raw = true\ncompare = [\"a.json\", \"b.json\"]\nfail-slower = 5\n";
    Options o;
    std::string error;
    ASSERT_TRUE(Parse({"--repeat", "2", "--config=" + path}, o, error)) << error;
    EXPECT_EQ(Nums(o.Measure.Tests[0], o.Measure.Tests[1], o.Measure.Repeat, o.Measure.Raw,
                   o.FailSlower, o.Measure.WarmupMs),
              Nums(1, 6, 2, 1, 5, 10000));
    EXPECT_EQ(o.Compare, (Strings{"a.json", "b.json"}));
    for (const auto &[text, message] : std::vector<std::pair<std::string, std::string>>{
             {"repeat = 3\nwarmup = 5\n", "--config: no option 'warmup'"},
             {"window_ms = 5\n", "--config: no option 'window_ms'; did you mean window-ms?"},
             {"compare = []\nrepeat = []\n", "--config: repeat = [] gives no value; it takes one"},
             {"raw = [true, false]\n", "--raw: takes no value (in a --config file, true or false)"},
         }) {
        std::ofstream(path) << text;
        EXPECT_FALSE(Parse({"--config", path}, o, error));
        EXPECT_EQ(error, message);
    }
    std::remove(path.c_str());
    EXPECT_FALSE(Parse({"--config", path}, o, error));
    EXPECT_EQ(error, "--config: cannot read '" + path + "'");
}

// --help is the reference: every option with its label alone beside it, then what it
// does, what it takes and its default, wrapped to a console's width; the exit codes.
TEST(RunOptions, HelpListsEveryOption) {
    const std::string help = Usage();
    std::istringstream lines(help);
    int wrapped = 0;
    for (std::string line; std::getline(lines, line);) {
        EXPECT_LE(line.size(), 80u) << line;
        wrapped += line.rfind(std::string(30, ' '), 0) == 0;
        if (line.rfind("  -", 0) == 0) {
            EXPECT_LE(Words(line.substr(0, 30)).size(), 2u) << "a name and a label: " << line;
        }
        if (line.rfind("  --quiet", 0) == 0) {
            EXPECT_EQ(line.substr(30), "no progress on stderr") << "beside its name";
        }
    }
    EXPECT_GT(wrapped, 10);
    std::string flowing;
    for (const std::string &word : Words(help)) {
        flowing += word + " ";
    }
    std::istringstream shown(
        "--tests LIST the|(LIST: names, patterns (* and ?), families or indices of the suite's "
        "tests, comma-separated; default all)|--pictures DIR write|(DIR: a folder's name (made "
        "when missing))|"
        "--window-ms N measure|(N: a whole number 1 to 600000; default 10000)|--repeat K K "
        "samples|(K: a whole number 1 to 1000; default 1)|--offscreen WxH[xD]|--raw also|"
        "(P: a percentage 0.1 to 50; default none: --repeat samples)|--max-seconds S|"
        "default 600)|--warmup-ms N|--affinity N|(SEED: a whole number 0 to 4294967295; default "
        "none: table order)|--json FILE write|--csv|--benchmark-json|--compare OLD compare|"
        "(P: a percentage above 0 and below 100)|--from SAVED|--runs N|(not with --from)|"
        "--alternate OTHER|at most 64 MiB a file|--confidence|default 0.99)|"
        "--svg|--snapshot|--host|--wait while|(not with --concurrent)|--concurrent measure|"
        "--help|--version|--config|0 the table|1 the run|2 bad input|4 a test got slower|"
        "5 a test drew another picture|Where two apply, the one higher in this list is given|"
        "130 stopped|refused with exit code 1|(8 at 99 %)|at 99 % needs 5 samples a side");
    for (std::string text; std::getline(shown, text, '|');) {
        EXPECT_NE(flowing.find(text), std::string::npos) << text;
    }
}

} // namespace
