#include "Json.h"
#include "Paths.h"
#include "Report.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace {

// Fields of mixed types as one list of numbers, to compare with known values at once.
template <class... T> std::vector<double> Nums(T... values) {
    return {double(values)...};
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
    report.Set.Facts = {{"cpus", "2", false}};
    report.Tests = {{.Index = 1,
                     .Name = "Pixel",
                     .Samples = {{1000, 10001, 10001.5, 100, 1000},
                                 {800, 10001, 10001.5, 80, 800.26},
                                 {1200, 10001, 10001.5, 120, 1200}},
                     .Raw = {{2000, 1000, 2000, 1, 5}, {2000, 1000, 1000, 2, 5}}},
                    {.Index = 6,
                     .Name = "Bit\"Blt,\t",
                     .Samples = {{100, 10001, 10001.5, 10, 100}, {130, 10001, 10001.5, 13, 130}},
                     .Raw = {}}};
    Summarise(report);
    return report;
}

TEST(RunReport, SummariesOfTheSamples) {
    Report report = TwoTests();
    report.Set.DrawNs = 20000; // 5 draws a call and a tick reading: 200 us a call
    report.Set.TickNs = 100000;
    Summarise(report);
    const TestRun &pixel = report.Tests[0], &blt = report.Tests[1];
    EXPECT_EQ(
        (std::vector<double>{pixel.Median, pixel.Min, pixel.Max, pixel.RateMedian, pixel.RawMedian,
                             pixel.RuleNs, blt.Median, blt.RateMedian, blt.Efficiency, blt.Bound}),
        (std::vector<double>{100, 80, 120, 1000, 1500, 200000, 11.5, 115, 0, 0}));
    EXPECT_DOUBLE_EQ(pixel.Spread, 0.4);
    // The middle of the scored/raw ratios .4, .5, .6, .8, 1, 1.2 (on a log scale).
    EXPECT_NEAR(pixel.Efficiency, std::sqrt(0.6 * 0.80026), 1e-9);
    EXPECT_NEAR(pixel.Bound, 1 / 1.3, 1e-9); // 200 us against 667 us a raw call
    EXPECT_NE(ToTable(report, {}).find("   1500  69.3%                200000.0  76.9%\n"),
              std::string::npos)
        << ToTable(report, {});
    EXPECT_EQ((std::vector<double>{pixel.EfficiencyLow, pixel.HalfWidth}),
              (std::vector<double>{0, 0}))
        << "three samples say nothing at 99 %";
    EXPECT_DOUBLE_EQ(blt.Spread, 3 / 11.5);
    EXPECT_EQ(report.Total, 55); // floor(111.5) div 2
    Report none;
    Summarise(none);
    EXPECT_EQ(none.Total, 0) << "no tests";
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
    std::string error, keys;
    ASSERT_TRUE(ParseJson(json, root, error)) << error;
    for (size_t i = 0; i < root.Keys.size(); i++) {
        const std::string &key = root.Keys[i];
        const JsonValue &value = root.Values[i];
        keys += key + "=" +
                (value.Type == JsonValue::Number ? std::to_string(int(value.Num))
                 : value.Type == JsonValue::Null ? "null"
                 : value.Type == JsonValue::Bool ? std::to_string(value.Boolean)
                                                 : value.Text) +
                " ";
    }
    EXPECT_EQ(keys, "program=QuenzelRun version=" QUENZEL_VERSION
                    " flavour=desktop utc=2026-12-07T03:43:27Z "
                    "windows=null wine=8.0 target=window width=0 height=0 depth=0 dpi=0 "
                    "window_ms=10000 repeat=3 raw=1 tick_step_ms=0 draw_ns=0 tick_ns=0 "
                    "warmup_ms=0 affinity=null shuffle=null precision=0 confidence=0 cpus=2 "
                    "tests= total=55 ")
        << "an unknown version and no affinity are null";
    const JsonValue &pixel = root.Get("tests")->Items.at(0);
    EXPECT_EQ((std::vector<double>{pixel.Get("samples")->Items.at(1).Get("rate")->Num,
                                   pixel.Get("samples")->Items.at(1).Get("qpc_ms")->Num,
                                   pixel.Get("raw_samples")->Items.at(1).Get("rate")->Num,
                                   pixel.Get("raw_samples")->Items.at(1).Get("replays_sample")->Num,
                                   pixel.Get("efficiency")->Num, root.Get("total")->Num}),
              (std::vector<double>{800.3, 10001.5, 1000, 2, 0.6929, 55}));
    Report back;
    ASSERT_TRUE(ParseReport(json, back, error)) << error;
    EXPECT_EQ((std::vector<double>{double(back.Tests.size()), double(back.Tests[1].Index),
                                   back.Tests[1].Median, back.Tests[0].Samples.at(1).Rate}),
              (std::vector<double>{2, 6, 11.5, 800.3}));
    EXPECT_EQ(back.Tests[1].Name, "Bit\"Blt,\t");

    for (const char *line :
         {"record,test,name,sample,key,value,count,tick_ms,qpc_ms,per_second,rate,"
          "median,min,max,spread,raw_median,efficiency,efficiency_low,efficiency_high,rule_ns,"
          "bound,half_width\n",
          "\nsample,1,Pixel,2,,,800,10001,10001.500,80,800.3,,,,,,,,,,,\n",
          "\nraw,1,Pixel,2,,,2000,,1000.000,,1000.0,,,,,,,,,,,\n",
          "\nsummary,1,Pixel,,,,,,,,1000.0,100.0,80,120,0.4000,1500.0,0.6929,0.0000,0.0000,0.00,"
          "1.0000,0.0000\n",
          "\nsample,6,\"Bit\"\"Blt,\t\",1,", "\nsetting,,,,total,55,", "\nsetting,,,,affinity,,,",
          "\nsetting,,,,cpus,2,,"}) {
        EXPECT_NE(csv.find(line), std::string::npos) << line;
    }
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1 + 24 + 5 + 2 + 2);
}

// The micro-benchmark tools' layout: the setting as context, an entry per sample in
// ns per call (processor time beside wall time), then each test's mean and median.
TEST(RunReport, BenchmarkToolsLayout) {
    Report report = TwoTests();
    report.Tests[0].Samples[1].CpuMs = 4000.6;
    JsonValue root;
    std::string error;
    ASSERT_TRUE(ParseJson(ToBenchmarkJson(report), root, error)) << error;
    EXPECT_EQ(root.Get("context")->Get("flavour")->Text, "desktop");
    std::string names;
    for (const JsonValue &entry : root.Get("benchmarks")->Items) {
        names += entry.Get("name")->Text + "/" + entry.Get("run_type")->Text + " ";
    }
    EXPECT_EQ(names, "Pixel/iteration Pixel/iteration Pixel/iteration Pixel_mean/aggregate "
                     "Pixel_median/aggregate Bit\"Blt,\t/iteration Bit\"Blt,\t/iteration "
                     "Bit\"Blt,\t_mean/aggregate Bit\"Blt,\t_median/aggregate ");
    const JsonValue &second = root.Get("benchmarks")->Items[1],
                    &mean = root.Get("benchmarks")->Items[3];
    EXPECT_EQ(Nums(second.Get("repetition_index")->Num, second.Get("iterations")->Num,
                   second.Get("real_time")->Num, second.Get("cpu_time")->Num,
                   second.Get("items_per_second")->Num, mean.Get("iterations")->Num,
                   mean.Get("cpu_time")->Num),
              Nums(1, 800, 12501875, 5000750, 80, 3, 1666916.667));
    EXPECT_EQ(mean.Get("aggregate_name")->Text, "mean");
}

// Pixel and BitBlt with samples of these rates (and scores of a tenth of them).
Report RatesRun(const std::vector<double> &pixel, const std::vector<double> &blt) {
    Report report;
    report.Set.Flavour = "desktop";
    report.Set.Target = "window";
    report.Set.TickStepMs = 15.6;
    for (const auto &[index, name, rates] : {std::tuple{1, "Pixel", pixel}, {6, "BitBlt", blt}}) {
        TestRun test;
        test.Index = index;
        test.Name = name;
        for (const double rate : rates) {
            test.Samples.push_back(
                {INT64(rate), DWORD(10000 + rate / 1000), 10000, INT(rate / 10), rate});
        }
        report.Tests.push_back(test);
    }
    Summarise(report);
    return report;
}

// One column per old run: the ratio of the rates, its interval and verdict; then
// each run's geometric mean and counts, and what makes its figures unlike.
TEST(RunReport, TableComparesWithEachOldRun) {
    const Report now = RatesRun({6000, 7000, 8000, 9000, 10000}, {100, 200, 300, 400, 500});
    Report same = RatesRun({1000, 2000, 3000, 4000, 5000}, {100, 200, 300, 400, 500});
    same.Set.Target = "offscreen";
    Report thin = RatesRun({3000}, {}); // one sample, and a run saved without rates
    thin.Tests[1].Median = 1;
    EXPECT_EQ(ToTable(now, {{"a.json", same}, {"b.json", thin}}),
              "QuenzelRun " QUENZEL_VERSION " (desktop), window 0x0x0, 10000 ms window "
              "(measured 10000 to 10010 ms, tick step 15.6 ms)\n"
              "test            score        min        max  spread     n     +-   vs old 1        "
              "                 vs old 2\n"
              "Pixel             800        600       1000   50.0%     5      -   2.667 [1.200, "
              "10.000] faster     2.667 (too few)\n"
              "BitBlt             30         10         50  133.3%     5      -   1.000 [0.200, "
              "5.000] same        30.000 (too few)\n"
              "TOTAL: 415\n"
              "old 1: a.json: geometric mean of the ratios 1.633; faster 1, same 1, slower 0\n"
              "  warning: the runs differ in target window here, offscreen there\n"
              "old 2: b.json: geometric mean of the ratios 8.944; faster 0, same 0, slower 0\n"
              "  note: 2 test(s) without a verdict: a run saved without its samples' rates, or "
              "too few samples a side to reach p < 0.010 (more with --repeat)\n"
              "(ratio new/old of the rates, Hodges-Lehmann, with its 99.0% interval; verdict by "
              "the Mann-Whitney U test)\n");
    const std::string slower = ToTable(same, {{"now.json", now}});
    EXPECT_NE(slower.find("0.375 [0.100, 0.833] slower"), std::string::npos) << slower;
    EXPECT_NE(slower.find("faster 0, same 1, slower 1\n"), std::string::npos) << slower;
    same.Tests.pop_back(); // a test the old run did not have
    EXPECT_EQ(ToTable(now, {}).find("vs old"), std::string::npos);
    EXPECT_NE(ToTable(now, {{"none", Report{}}}).find("ratios 0.000; faster 0, same 0, slower 0"),
              std::string::npos)
        << "no test in common";
    // Eight samples at 99 % give an interval: Pixel's is known to +-0.3 %, BitBlt's not.
    Report precise = RatesRun({1000, 1001, 1002, 1003, 1004, 1005, 1006, 1007}, {1, 2, 3});
    precise.Set.Precision = 0.02;
    EXPECT_NE(ToTable(precise, {}).find("     8   0.3%\nBitBlt"), std::string::npos);
    precise.Set.MaxSeconds = 600;
    EXPECT_NE(ToTable(precise, {})
                  .find("\nPixel reached \u00b12 %\nBitBlt did not reach \u00b12 % "
                        "in 600 s: too few samples for an interval\n"),
              std::string::npos)
        << ToTable(precise, {});
    precise.Set.Precision = 0.001;
    EXPECT_NE(ToTable(precise, {})
                  .find("TOTAL: 50\nPixel did not reach \u00b10.1 % in 600 s: "
                        "\u00b10.3 %\nBitBlt did not"),
              std::string::npos)
        << ToTable(precise, {});
    // Known to exactly the precision asked for: 96 and 160 lie 25 % from 128.
    const std::vector<double> edges = {96, 128, 128, 128, 128, 128, 128, 160};
    Report edge = RatesRun(edges, edges);
    edge.Set.Precision = 0.25;
    EXPECT_NE(ToTable(edge, {}).find("\nall 2 tests reached \u00b125 %\n"), std::string::npos);
    precise.Set.Raw = true; // and 8 raw rates: the efficiency's interval, d(8) to d(57)
    for (int i = 0; i < 8; i++) {
        precise.Tests[0].Raw.push_back({1, 1, 1990.0 + 20 * i, 1, 5});
    }
    Summarise(precise);
    EXPECT_NE(ToTable(precise, {}).find("  48.7% [47.3, 50.3]"), std::string::npos);
    EXPECT_NE(ToTable(now, {{"x", same}}).find("     -   n/a\n"), std::string::npos);
    EXPECT_NE(ToTable(RatesRun({10}, {}), {{"o", RatesRun({20}, {})}}).find(" 0.500 (too few)"),
              std::string::npos)
        << "a median score of 1 compares";
}

// Bars on a log scale, 260 pixels for the decades up to the highest median (here
// 100: two), each old run's beside the new, with the interval of the comparison.
TEST(RunReport, ChartBarsOnALogScale) {
    Report report = TwoTests();
    const std::string alone = ToSvg(report, {});
    for (const char *part :
         {"width=\"282\" height=\"350\"", "x2=\"272\" y1=\"170.0\" y2=\"170.0\"", ">1e0</text>",
          ">1e2</text>",
          "x=\"78.0\" y=\"40.0\" width=\"56\" height=\"260.0\" fill=\"#3366cc\"><title>100<",
          "x=\"174.0\" y=\"162.1\" width=\"56\" height=\"137.9\"",
          "<text x=\"78.0\" y=\"318\">Pixel</text>"}) {
        EXPECT_NE(alone.find(part), std::string::npos) << part;
    }
    EXPECT_EQ(alone.find(">1e3</text>"), std::string::npos);
    const std::string low = ToSvg(RatesRun({50, 60}, {70}), {}); // medians 5.5 and 7
    EXPECT_TRUE(low.find(">1e1</text>") != std::string::npos &&
                low.find(">1e2</text>") == std::string::npos)
        << "a decade at least";
    EXPECT_EQ(alone.rfind("</svg>\n"), alone.size() - 7);
    // The new run lies 1.2 to 10 times above the old median of 300: up to 3000, which
    // makes the scale 4 decades.
    const Report now = RatesRun({6000, 7000, 8000, 9000, 10000}, {100, 200, 300, 400, 500});
    const Report old = RatesRun({1000, 2000, 3000, 4000, 5000}, {100, 200, 300, 400, 500});
    const std::string both = ToSvg(now, {{"old", old}});
    EXPECT_NE(
        ToSvg(now, {{"a", old}, {"b", old}}).find("\"old\" x=\"122.0\" y=\"139.0\" width=\"18\""),
        std::string::npos)
        << "three bars side by side, 4 pixels apart";
    EXPECT_NE(both.find("<rect class=\"old\" x=\"110.0\" y=\"139.0\" width=\"28\" "
                        "height=\"161.0\""),
              std::string::npos)
        << both;
    EXPECT_EQ(ToSvg(now, {{"one sample", RatesRun({3000}, {100})}}).find("interval"),
              std::string::npos)
        << "no interval where the samples are too few";
    EXPECT_NE(both.find("<line class=\"interval\" x1=\"124.0\" x2=\"124.0\" y1=\"133.8\" "
                        "y2=\"74.0\""),
              std::string::npos)
        << both;
}

TEST(Json, ReadsValuesAndRejectsMalformedDocuments) {
    JsonValue value;
    std::string error;
    for (const char *bad :
         {"",        "{",        "{\"a\": }", "[1, 2",      "{\"a\" 1}", "tru",
          "[1] x",   "\"open",   "[1,]",      "{\"a\":1,}", "nul",       "01",
          "-01",     "+1",       ".5",        "0x10",       "inf",       "1e999",
          "-",       "1.",       "1e",        "1e+",        "\"\\u12\"", "\"\\u+123\"",
          "\"\\x\"", "\"a\nb\"", "{1: 2}",    "\"\\",       "{\"a\": 1]"}) {
        EXPECT_FALSE(ParseJson(bad, value, error)) << bad;
        EXPECT_NE(error.find(" at offset "), std::string::npos) << bad;
    }
    EXPECT_FALSE(ParseJson(std::string(65, '[') + std::string(65, ']'), value, error));
    EXPECT_TRUE(ParseJson(std::string(64, '[') + std::string(64, ']'), value, error));
    EXPECT_TRUE(ParseJson("[ ]", value, error)) << error;
    ASSERT_TRUE(
        ParseJson(" {\"a\": [true, false, null, -1.5e2, 0, 2E+1, \"x\\\"\\\\\\/\\n\\t\\r\\b\\f"
                  "\\u00411\\u00e9\"], \"\": {}}\r\n",
                  value, error))
        << error;
    const JsonValue &a = *value.Get("a");
    EXPECT_EQ((std::vector<double>{double(a.Items.size()),
                                   double(a.Items[0].Boolean - a.Items[2].Boolean),
                                   double(a.Items[1].Type), double(a.Items[2].Type), a.Items[3].Num,
                                   a.Items[4].Num, a.Items[5].Num, double(value.Get("")->Type)}),
              (std::vector<double>{7, 1, JsonValue::Bool, JsonValue::Null, -150, 0, 20,
                                   JsonValue::Object}));
    EXPECT_EQ(a.Items[6].Text, "x\"\\/\n\t\r\b\fA1?") << "four hex digits, then text";
    EXPECT_EQ(value.Get("b"), nullptr);
}

// What makes runs comparable and the samples' rates are read back; a rate or median
// no machine reaches, or a test listed twice, is refused.
TEST(Json, ACompareFileMustBeASavedRun) {
    Report report;
    std::string error;
    const std::string run = "{\"program\": \"QuenzelRun\", \"target\": \"offscreen\", \"width\": "
                            "64, \"window_ms\": 50, \"tests\": [{\"index\": ";
    ASSERT_TRUE(ParseReport("\xEF\xBB\xBF" + run +
                                "7, \"median\": 0, \"samples\": [{\"rate\": 2.5}, {\"rate\": "
                                "999999999999}]}]}",
                            report, error))
        << error;
    EXPECT_EQ(
        (std::vector<double>{double(report.Tests.at(0).Index), report.Tests[0].Samples.at(0).Rate,
                             report.Tests[0].Samples.at(1).Rate, double(report.Set.Width),
                             double(report.Set.WindowMs)}),
        (std::vector<double>{7, 2.5, 999999999999, 64, 50}));
    EXPECT_EQ(report.Set.Target, "offscreen");
    for (const std::string &bad :
         {run + "1}]}", run + "0, \"median\": 1}]}", run + "8, \"median\": 1}]}",
          run + "1.5, \"median\": 1}]}", run + "1, \"median\": -1}]}",
          run + "1, \"median\": 1e12}]}", run + "\"1\", \"median\": 1}]}",
          run + "1, \"median\": 1}, {\"index\": 1, \"median\": 2}]}",
          run + "1, \"median\": 1, \"samples\": [{\"rate\": 5e-324}]}]}",
          run + "1, \"median\": 1, \"samples\": [{\"rate\": 1e12}]}]}",
          run + "1, \"median\": 1, \"samples\": [{\"count\": 1}]}]}",
          std::string("{\"program\": \"QuenzelRun\", \"tests\": []}"), run + "1, ",
          std::string("{\"program\": \"Other\", \"tests\": [{\"index\": 1, \"median\": 1}]}")}) {
        EXPECT_FALSE(ParseReport(bad, report, error)) << bad;
    }
}

// Long-prefixed names compare as the names they stand for; a share keeps its server.
TEST(Paths, ComparableWithAndWithoutTheLongPrefix) {
    for (const auto &[name, plain] : std::vector<std::pair<std::wstring, std::wstring>>{
             {L"\\\\?\\UNC\\server\\share\\run.json", L"\\\\server\\share\\run.json"},
             {L"\\\\?\\unc\\server\\share\\run.json. .", L"\\\\server\\share\\run.json"},
             {L"\\\\server\\share\\run.json", L"\\\\server\\share\\run.json"},
             {L"\\\\?\\C:\\UNC\\a.", L"C:\\UNC\\a"},
             {L"\\\\?\\UNCx\\a", L"UNCx\\a"}}) {
        EXPECT_TRUE(ComparablePath(name) == plain) << std::string(name.begin(), name.end());
    }
}

} // namespace
