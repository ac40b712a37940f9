#include "Json.h"
#include "Options.h"
#include "Report.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using Strings = std::vector<std::string>;

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
    EXPECT_EQ((std::vector<long>{long(o.Tests.size()), o.WindowMs, o.Repeat, o.OffscreenWidth,
                                 o.Raw, o.Help}),
              (std::vector<long>{7, 10000, 1, 0, 0, 0}))
        << "the interactive program's run";
    EXPECT_NE(Usage().find("(default 10000)"), std::string::npos);
    ASSERT_TRUE(Parse({"--tests", "textout,3,Rectangle,7", "--window-ms=1", "--repeat", "1000",
                       "--offscreen", "16384X1", "--raw", "--json", "a", "--csv=b", "--svg", "c",
                       "--compare", "o", "--snapshot", "d", "-h"},
                      o, error))
        << error;
    EXPECT_EQ(o.Tests, (std::vector<INT>{3, 7}));
    EXPECT_EQ((std::vector<long>{o.WindowMs, o.Repeat, o.OffscreenWidth, o.OffscreenHeight, o.Raw,
                                 o.Help}),
              (std::vector<long>{1, 1000, 16384, 1, 1, 1}));
    EXPECT_EQ((Strings{o.Json, o.Csv, o.Svg, o.Compare, o.Snapshot}),
              (Strings{"a", "b", "c", "o", "d"}));
    ASSERT_TRUE(Parse({"--tests=BitBlt,1", "--window-ms", "600000"}, o, error));
    EXPECT_EQ((std::vector<long>{o.Tests[0], o.Tests[1], o.WindowMs}),
              (std::vector<long>{1, 6, 600000}));
}

// Each bad input gives one line that names the culprit; output files are checked
// before the run: a missing folder, a folder, a file named twice.
TEST(RunOptions, BadInputIsNamed) {
    const std::string folder = testing::TempDir() + "quenzel-outputs";
    std::filesystem::create_directories(folder + "/sub");
    const std::pair<Strings, std::string> cases[] = {
        {{"--frobnicate"}, "unknown option '--frobnicate'"},
        {{"stray"}, "unexpected argument 'stray'"},
        {{"--tests", "Pixel,Foo"}, "unknown test 'Foo'"},
        {{"--tests", "8"}, "'8'"},
        {{"--tests", "0"}, "'0'"},
        {{"--tests", "1,,2"}, "''"},
        {{"--window-ms", "0"}, "not '0'"},
        {{"--window-ms", "600001"}, "'600001'"},
        {{"--window-ms", "-5"}, "'-5'"},
        {{"--window-ms", "1e3"}, "'1e3'"},
        {{"--window-ms", "0000000000001"}, "'0000000000001'"},
        {{"--repeat", "0"}, "--repeat takes a whole number from 1 to 1000, not '0'"},
        {{"--repeat", "1001"}, "'1001'"},
        {{"--offscreen", "640"}, "'640'"},
        {{"--offscreen", "x480"}, "'x480'"},
        {{"--offscreen", "0x10"}, "'0x10'"},
        {{"--offscreen", "10x0"}, "'10x0'"},
        {{"--offscreen", "16385x10"}, "'16385x10'"},
        {{"--json"}, "option '--json' needs a value"},
        {{"--csv="}, "option '--csv' needs a file name, not ''"},
        {{"--raw=yes"}, "option '--raw' takes no value"},
        {{"--json", "--raw"}, "not '--raw'"},
        {{"--csv", folder + "/none/x"}, "--csv file '" + folder + "/none/x' cannot be written"},
        {{"--snapshot", folder + "/sub"}, "--snapshot file '" + folder + "/sub' cannot"},
        {{"--json", "same", "--svg", "same"}, "--json file 'same' is also --svg"},
        {{"--json", folder + "/a", "--csv", "b", "--svg", "c", "--snapshot", "d"}, ""},
    };
    for (const auto &[args, culprit] : cases) {
        Options options;
        std::string error;
        const bool ok = Parse(args, options, error) && CheckOutputs(options, error);
        EXPECT_EQ(ok, culprit.empty()) << args[0];
        EXPECT_EQ(error.substr(error.find(culprit)).substr(0, culprit.size()), culprit);
        EXPECT_EQ(error.find('\n'), std::string::npos) << "one line";
    }
}

// Pixel: scores 100, 80, 120 (rates 1000, 800.26, 1200), raw rates 2000 and 1000;
// BitBlt: scores 10 and 13.
Report TwoTests() {
    Report report;
    report.Set.Flavour = "desktop";
    report.Set.Target = "window";
    report.Set.Wine = "8.0";
    report.Set.Utc = "2026-12-07T03:43:27Z";
    report.Set.Repeat = 3;
    report.Set.Raw = true;
    report.Tests.resize(2);
    report.Tests[0] = {1,
                       "Pixel",
                       {{1000, 10001, 10001.5, 100, 1000},
                        {800, 10001, 10001.5, 80, 800.26},
                        {1200, 10001, 10001.5, 120, 1200}},
                       {{2000, 1000, 2000}, {2000, 1000, 1000}},
                       0,
                       0,
                       0,
                       0,
                       0,
                       0,
                       0};
    report.Tests[1] = {6,
                       "Bit\"Blt,\t",
                       {{100, 10001, 10001.5, 10, 100}, {130, 10001, 10001.5, 13, 130}},
                       {},
                       0,
                       0,
                       0,
                       0,
                       0,
                       0,
                       0};
    Summarise(report);
    return report;
}

TEST(RunReport, SummariesOfTheSamples) {
    const Report report = TwoTests();
    const TestRun &pixel = report.Tests[0], &blt = report.Tests[1];
    EXPECT_EQ((std::vector<double>{pixel.Median, pixel.Min, pixel.Max, pixel.RateMedian,
                                   pixel.RawMedian, blt.Median, blt.RateMedian, blt.Efficiency}),
              (std::vector<double>{100, 80, 120, 1000, 1500, 11.5, 115, 0}));
    EXPECT_DOUBLE_EQ(pixel.Spread, 0.4);
    EXPECT_DOUBLE_EQ(pixel.Efficiency, 1000.0 / 1500);
    EXPECT_DOUBLE_EQ(blt.Spread, 3 / 11.5);
    EXPECT_EQ(report.Total, 55); // floor(111.5) div 2
    Report none;
    none.Tests.resize(1); // a test without samples sums to nothing
    Summarise(none);
    EXPECT_EQ((std::vector<double>{double(none.Total), none.Tests[0].Median, none.Tests[0].Min,
                                   none.Tests[0].Max, none.Tests[0].Spread}),
              (std::vector<double>{0, 0, 0, 0, 0}));
}

// The JSON and the CSV hold the same setting, every sample and the summaries; the
// JSON reads back as a run to compare with.
TEST(RunReport, FilesHoldTheSettingSamplesAndSummaries) {
    const Report report = TwoTests();
    const std::string json = ToJson(report), csv = ToCsv(report);
    JsonValue root;
    std::string error, keys, csvKeys;
    ASSERT_TRUE(ParseJson(json, root, error)) << error;
    for (const auto &[key, value] : root.Members) {
        keys += key + "=" +
                (value.Type == JsonValue::Number ? std::to_string(int(value.Num)) : value.Text) +
                " ";
    }
    EXPECT_EQ(keys, "program=QuenzelRun version=" QUENZEL_VERSION
                    " flavour=desktop utc=2026-12-07T03:43:27Z "
                    "windows= wine=8.0 target=window width=0 height=0 depth=0 dpi=0 "
                    "window_ms=10000 repeat=3 raw= tests= total=55 ");
    EXPECT_EQ((std::vector<int>{root.Get("windows")->Type, root.Get("raw")->Boolean}),
              (std::vector<int>{JsonValue::Null, true}))
        << "an unknown version is null";
    const JsonValue &pixel = root.Get("tests")->Items.at(0);
    EXPECT_EQ((std::vector<double>{pixel.Get("samples")->Items.at(1).Get("rate")->Num,
                                   pixel.Get("samples")->Items.at(1).Get("qpc_ms")->Num,
                                   pixel.Get("raw_samples")->Items.at(1).Get("rate")->Num,
                                   pixel.Get("efficiency")->Num, root.Get("total")->Num}),
              (std::vector<double>{800.3, 10001.5, 1000, 0.6667, 55}));
    Report back;
    ASSERT_TRUE(ParseReport(json, back, error)) << error;
    EXPECT_EQ((std::vector<double>{double(back.Tests.size()), double(back.Tests[1].Index),
                                   back.Tests[1].Median, back.Tests[0].Spread}),
              (std::vector<double>{2, 6, 11.5, 0.4}));
    EXPECT_EQ(back.Tests[1].Name, "Bit\"Blt,\t");

    for (size_t at = csv.find("setting,,,,"); at != std::string::npos;
         at = csv.find("setting,,,,", at + 1)) {
        csvKeys += csv.substr(at + 11, csv.find(',', at + 11) - at - 11) + " ";
    }
    EXPECT_EQ(csvKeys, "program version flavour utc windows wine target width height depth dpi "
                       "window_ms repeat raw total ");
    for (const char *line :
         {"record,test,name,sample,key,value,count,tick_ms,qpc_ms,per_second,rate,"
          "median,min,max,spread,raw_median,efficiency\n",
          "\nsample,1,Pixel,2,,,800,10001,10001.500,80,800.3,,,,,,\n",
          "\nraw,1,Pixel,2,,,2000,,1000.000,,1000.0,,,,,,\n",
          "\nsummary,1,Pixel,,,,,,,,1000.0,100.0,80,120,0.4000,1500.0,0.6667\n",
          "\nsample,6,\"Bit\"\"Blt,\t\",1,", "\nsetting,,,,total,55,"}) {
        EXPECT_NE(csv.find(line), std::string::npos) << line;
    }
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1 + 15 + 5 + 2 + 2);
}

TEST(RunReport, TableAndComparison) {
    Report old = TwoTests();
    Report now = TwoTests();
    now.Tests[0].Median = 130; // +30 %: within Pixel's 40 % spread
    now.Tests[1].Median = 23;  // +100 %: beyond both runs' spread
    now.Tests[1].Spread = 0.1;
    now.Total = 76;
    EXPECT_EQ(ToTable(now, &old),
              "QuenzelRun " QUENZEL_VERSION " (desktop), window 0x0x0, 10000 ms window, 3 samples\n"
              "test            score        min        max  spread     raw/s   eff.   vs old\n"
              "Pixel             130         80        120   40.0%      1500  66.7%   1.300\n"
              "Bit\"Blt,\t          23         10         13   10.0%         0   0.0%   2.000 *\n"
              "TOTAL: 76\n"
              "(* the change is larger than the spread of either run)\n");
    // +40 %: beyond this run's spread, but only as large as the old run's; then the
    // other way round.
    now.Tests[0].Median = 140;
    now.Tests[0].Spread = 0.1;
    now.Set.Raw = false;
    now.Set.Repeat = 1;
    EXPECT_NE(ToTable(now, &old).find("1 sample\n"), std::string::npos);
    EXPECT_NE(ToTable(now, &old).find("%   1.400\n"), std::string::npos);
    std::swap(now.Tests[0].Spread, old.Tests[0].Spread);
    EXPECT_NE(ToTable(now, &old).find("%   1.400\n"), std::string::npos);
    old.Tests.pop_back(); // a test the old run did not have
    old.Tests[0].Median = 0;
    EXPECT_NE(ToTable(now, &old).find("%      n/a\nBit"), std::string::npos);
    EXPECT_EQ(ToTable(now, nullptr).find("vs old"), std::string::npos);
}

// Bars on a log scale, 260 pixels for the decades up to the highest median (here
// 100: two), the old run's beside the new.
TEST(RunReport, ChartBarsOnALogScale) {
    Report report = TwoTests();
    const std::string alone = ToSvg(report, nullptr);
    for (const char *part :
         {"width=\"282\" height=\"350\"", "y1=\"170.0\" y2=\"170.0\"", ">1e0</text>", ">1e2</text>",
          "x=\"78.0\" y=\"40.0\" width=\"56\" height=\"260.0\" fill=\"#3366cc\"><title>100<",
          "x=\"174.0\" y=\"162.1\" width=\"56\" height=\"137.9\""}) {
        EXPECT_NE(alone.find(part), std::string::npos) << part;
    }
    EXPECT_EQ(alone.find(">1e3</text>"), std::string::npos);
    EXPECT_EQ(alone.rfind("</svg>\n"), alone.size() - 7);
    Report old = report;
    old.Tests[1].Median = 1000;
    const std::string both = ToSvg(report, &old);
    EXPECT_NE(both.find("<rect class=\"old\" x=\"210.0\" y=\"40.0\" width=\"32\" height=\"260.0\""),
              std::string::npos);
}

TEST(Json, ReadsValuesAndRejectsMalformedDocuments) {
    JsonValue value;
    std::string error;
    for (const char *bad :
         {"",       "{",         "{\"a\": }",   "[1, 2",   "{\"a\" 1}", "tru",    "[1] x",
          "\"open", "[1,]",      "{\"a\":1,}",  "nul",     "01",        "-01",    "+1",
          ".5",     "0x10",      "inf",         "1e999",   "-",         "1.",     "1e",
          "1e+",    "\"\\u12\"", "\"\\u+123\"", "\"\\x\"", "\"a\nb\"",  "{1: 2}", "\"\\"}) {
        EXPECT_FALSE(ParseJson(bad, value, error)) << bad;
        EXPECT_NE(error.find(" at offset "), std::string::npos) << bad;
    }
    EXPECT_FALSE(ParseJson(std::string(65, '[') + std::string(65, ']'), value, error));
    EXPECT_TRUE(ParseJson(std::string(64, '[') + std::string(64, ']'), value, error));
    ASSERT_TRUE(
        ParseJson(" {\"a\": [true, false, null, -1.5e2, 0, 2E+1, \"x\\\"\\\\\\/\\n\\t\\r\\b\\f"
                  "\\u0041\\u00e9\"], \"\": {}}\r\n",
                  value, error))
        << error;
    const JsonValue &a = *value.Get("a");
    EXPECT_EQ((std::vector<double>{double(a.Items.size()),
                                   double(a.Items[0].Boolean - a.Items[2].Boolean),
                                   double(a.Items[1].Type), double(a.Items[2].Type), a.Items[3].Num,
                                   a.Items[4].Num, a.Items[5].Num, double(value.Get("")->Type)}),
              (std::vector<double>{7, 1, JsonValue::Bool, JsonValue::Null, -150, 0, 20,
                                   JsonValue::Object}));
    EXPECT_EQ(a.Items[6].Text, "x\"\\/\n\t\r\b\fA?");
    EXPECT_EQ(value.Get("b"), nullptr);
}

TEST(Json, ACompareFileMustBeASavedRun) {
    Report report;
    std::string error;
    const std::string run = "{\"program\": \"QuenzelRun\", \"tests\": [{\"index\": ";
    EXPECT_TRUE(ParseReport(run + "7, \"median\": 0, \"spread\": 0}]}", report, error));
    EXPECT_EQ(report.Tests.at(0).Index, 7);
    for (const std::string &bad :
         {run + "1}]}", run + "0, \"median\": 1, \"spread\": 0}]}",
          run + "8, \"median\": 1, \"spread\": 0}]}", run + "1.5, \"median\": 1, \"spread\": 0}]}",
          run + "1, \"median\": -1, \"spread\": 0}]}",
          run + "1, \"median\": 1, \"spread\": -0.1}]}",
          run + "\"1\", \"median\": 1, \"spread\": 0}]}",
          std::string("{\"program\": \"QuenzelRun\", \"tests\": []}"), run + "1, ",
          std::string("{\"program\": \"Other\", \"tests\": [{\"index\": 1, "
                      "\"median\": 1, \"spread\": 0}]}")}) {
        EXPECT_FALSE(ParseReport(bad, report, error)) << bad;
    }
}

} // namespace
