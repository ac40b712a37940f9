#include "Arguments.h"
#include "Group.h"
#include "Lines.h"
#include "Options.h"
#include "Paths.h"
#include "Saved.h"
#include "Show.h"
#include "Suites.h"
#include "Summary.h"
#include "WideTable.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <functional>
#include <sstream>

namespace {

using Json = nlohmann::ordered_json;
using Numbers = std::vector<double>;

bool Has(const std::string &text, const std::string &part) {
    return text.find(part) != std::string::npos;
}

int Count(const std::string &text, const std::string &part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        n++;
    }
    return n;
}

// Pixel: scores 100, 80, 120 (rates 1000, 800.26, 1200), raw rates 2000 and 1000;
// BitBlt: scores 10 and 13.
Report TwoTests() {
    Report report;
    report.Set.Flavour = "desktop";
    report.Set.Target = "window";
    report.Set.Utc = "2026-12-07T03:43:27Z";
    report.Set.Repeat = 3;
    report.Set.Raw = true;
    report.Set.Facts = {{"cpus", "12", false}, {"cpu", "x86", true}};
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

// Pixel and BitBlt with samples of these rates (and scores of a tenth of them).
Report RatesRun(const Numbers &pixel, const Numbers &blt) {
    Report report;
    report.Set.Flavour = "desktop";
    report.Set.Target = "window";
    report.Set.TickStepMs = 15.6;
    for (const auto &[index, name, rates] : {std::tuple{1, "Pixel", pixel}, {6, "BitBlt", blt}}) {
        TestRun test{.Index = index, .Name = name};
        for (const double rate : rates) {
            test.Samples.push_back(
                {int64_t(rate), uint32_t(10001 + rate / 1000), 10001, int(rate / 10), rate});
        }
        report.Tests.push_back(test);
    }
    Summarise(report);
    return report;
}

// A run as a compare file holds it.
OldRun Old(const Report &report, const std::string &name = "old.json") {
    return AsOld(report, name);
}

// Pixel alone, in runs of three samples: run i's rates are its median m + i and
// m + i -+ 50.
Report Runs(int runs, double m) {
    Report group = RatesRun({}, {});
    group.Tests.pop_back();
    for (int i = 1; i <= runs; i++) {
        for (const double rate : {m + i - 50, m + i, m + i + 50}) {
            group.Tests[0].Samples.push_back({1, 10001, 10001, int(rate / 10), rate, 0, i});
        }
    }
    Summarise(group);
    return group;
}

TEST(RunReport, SummariesOfTheSamples) {
    Report report = TwoTests();
    report.Set.DrawNs = 20000; // 5 draws a call and a tick reading: 200 us a call
    report.Set.TickNs = 100000;
    Summarise(report);
    const TestRun &pixel = report.Tests[0], &blt = report.Tests[1];
    EXPECT_EQ((Numbers{pixel.Median, pixel.Min, pixel.Max, pixel.RateMedian, *pixel.RawMedian,
                       *pixel.RuleNs, blt.Median, blt.RateMedian}),
              (Numbers{100, 80, 120, 1000, 1500, 200000, 11.5, 115}));
    EXPECT_DOUBLE_EQ(pixel.Spread, 0.4);
    // The middle of the scored/raw ratios .4, .5, .6, .8, 1, 1.2 (on a log scale).
    EXPECT_NEAR(*pixel.Efficiency, std::sqrt(0.6 * 0.80026), 1e-9);
    EXPECT_NEAR(*pixel.Bound, 1 / 1.3, 1e-9); // 200 us against 667 us a raw call
    const std::string table = ToTable(report, {});
    EXPECT_TRUE(Has(table, "   1500  69.3%                200000.0  76.9%*  0.901\n") &&
                Has(table, "      -      -                      -      -       -\n") &&
                Has(table, "\nmedian efficiency over its bound: 0.901\n") &&
                Has(table, "where it costs more than 2 % of a call"))
        << table;
    EXPECT_FALSE(pixel.EfficiencyLow || pixel.HalfWidth || blt.Efficiency || blt.Bound)
        << "three samples say nothing at 99 %, and BitBlt has no raw samples";
    EXPECT_DOUBLE_EQ(blt.Spread, 3 / 11.5);
    EXPECT_EQ(report.Total, 55); // floor(111.5) div 2
    const TestRun idle{
        .Index = 5, .Name = "Ellipse", .Samples = std::vector<Sample>(8, {0, 1, 1, 0, 0})};
    EXPECT_EQ(HalfWidthOf(idle, 0.99), 0)
        << "no calls in any window: no interval about a rate of 0";
    TestRun skewed{.Index = 1, .Name = "Pixel"};
    for (const double rate : {10, 20, 30, 100, 100, 100, 101, 102, 103}) {
        skewed.Samples.push_back({1, 1, 1, 1, rate});
    }
    EXPECT_DOUBLE_EQ(HalfWidthOf(skewed, 0.9), 0.8) << "[20, 102] about 100: the wider side";
    TestRun twenty{.Index = 1, .Name = "Pixel"};
    for (int rate = 1; rate <= 20; rate++) {
        twenty.Samples.push_back({1, 1, 1, 1, double(rate)});
    }
    EXPECT_DOUBLE_EQ(HalfWidthOf(twenty, 0.99), 6.5 / 10.5) << "[4, 17]: 20 samples' ranks at 99 %";
    Report none; // a test without samples sums to nothing; one without calls spreads 0
    none.Tests = {TestRun{}, idle};
    Summarise(none);
    EXPECT_EQ((Numbers{double(none.Total), none.Tests[0].Median, none.Tests[0].Min,
                       none.Tests[0].Spread, none.Tests[1].Spread}),
              (Numbers{0, 0, 0, 0, 0}));
}

// The JSON and the CSV hold the same setting, every sample, the summaries and the
// comparisons; what is not known is null or empty, never 0.
TEST(RunReport, FilesHoldTheSettingSamplesAndSummaries) {
    Report report = TwoTests();
    report.Set.Raw = false; // the clocks' costs are then unknown
    report.Set.Precision = 0.12344;
    report.Set.Shuffle = 0; // a seed, known
    report.Set.Spent = {2.5, 0, 30000};
    const std::vector<OldRun> olds = {Old(report, "öld.json")};
    const std::string text = ToJson(report, olds);
    const Json root = Json::parse(text); // as written: two spaces a level, text as UTF-8
    EXPECT_TRUE(Has(text, "{\n  \"program\": \"QuenzelRun\",\n") && Has(text, "\"öld.json\""));
    std::string keys;
    for (const auto &[key, value] : root.items()) {
        keys += key + "=" + (value.is_string() ? value.get<std::string>() : value.dump()) + " ";
        if (key == "tests") {
            break;
        }
    }
    EXPECT_EQ(
        keys,
        "program=QuenzelRun version=" QUENZEL_VERSION
        " flavour=desktop suite=seven utc=2026-12-07T03:43:27Z windows=null wine=null "
        "architecture=null run_ids=[] pictures=null target=window width=0 height=0 depth=0 dpi=0 "
        "window_ms=10000 repeat=3 "
        "raw=false tick_step_ms=0.0 draw_ns=null tick_ns=null warmup_ms=0 "
        "affinity=null shuffle=0 precision=0.1234 confidence=0.99 "
        "phases_ms={\"start\":2.5,\"warm_up\":0.0,\"windows\":30000.0,\"raw\":0.0,"
        "\"set_up\":0.0,\"pictures\":0.0} cpus=12 cpu=x86 "
        "tests=" +
            root["tests"].dump() + " ");
    const Json &pixel = root["tests"][0];
    EXPECT_EQ(
        pixel["samples"][1].dump(),
        R"({"count":800,"tick_ms":10001,"qpc_ms":10001.5,"per_second":80,"rate":800.3,"cpu_ms":0.0,)"
        R"("run":1})");
    EXPECT_EQ(pixel["raw_samples"][1].dump(), R"({"calls":2000,"qpc_ms":1000.0,"rate":1000.0,)"
                                              R"("replays_sample":2,"draws_per_call":5.0})");
    EXPECT_EQ(pixel["efficiency"], 0.6929);
    for (const char *unknown : {"efficiency_low", "efficiency_high", "half_width"}) {
        EXPECT_TRUE(pixel[unknown].is_null()) << unknown;
    }
    EXPECT_TRUE(root["tests"][1]["raw_median"].is_null());
    EXPECT_EQ((Json{root["total"], root["geometric_mean"]}), (Json{55, 33.9})) << "of 100 and 11.5";
    EXPECT_EQ(root["comparisons"][0].dump(),
              R"({"index":1,"name":"Pixel","old":"öld.json","ratio":1.0,"low":null,)"
              R"("high":null,"p":null,"verdict":"no verdict: 3 vs 3 samples, needs 5 a side",)"
              R"("unit":"samples","other_picture":false})");

    const std::string csv = ToCsv(report, olds);
    for (const char *line :
         {"record,test,name,sample,key,value,count,tick_ms,qpc_ms,per_second,rate,cpu_ms,run,calls,"
          "replays_sample,draws_per_call,median,min,max,spread,rate_median,raw_median,efficiency,"
          "efficiency_low,efficiency_high,rule_ns,bound,half_width,runs,between_runs,picture,"
          "picture_varies,picture_blank,old,ratio,low,high,p,verdict,unit,other_picture\n",
          "\nsample,1,Pixel,2,,,800,10001,10001.500,80,800.3,0.000,1,,,,,,,,,,,,,,,,,,,,,,,,,,,,\n",
          "\nraw,1,Pixel,2,,,,,1000.000,,1000.0,,,2000,2,5.000,,,,,,,,,,,,,,,,,,,,,,,,,\n",
          "\nsummary,1,Pixel,,,,,,,,,,,,,,100.0,80,120,0.4000,1000.0,1500.0,0.6929,,,0.00,1.0000,,"
          "1,,,false,false,,,,,,,,\n",
          "\nsample,6,\"Bit\"\"Blt,\t\",1,", "\nsetting,,,,total,55,", "\nsetting,,,,draw_ns,,",
          "\nsetting,,,,tick_step_ms,0.000,", "\nsetting,,,,cpus,12,,",
          "\ncomparison,1,Pixel,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,öld.json,1.0000,,,,\"no verdict: 3 "
          "vs "
          "3 "
          "samples, needs 5 a side\",samples,false\n"}) {
        EXPECT_TRUE(Has(csv, line)) << line << csv;
    }
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1 + 31 + 5 + 2 + 2 + 2);
}

// The micro-benchmark tools' layout: the setting as context, an entry per sample in
// ns per call (processor time beside wall time), then each test's mean and median.
TEST(RunReport, BenchmarkToolsLayout) {
    Report report = TwoTests();
    report.Tests[0].Samples[1].CpuMs = 4000.6;
    report.Set.DrawNs = 2.4814;
    report.Set.TickNs = 1.23456;
    const Json root = Json::parse(ToBenchmarkJson(report));
    EXPECT_EQ(root["context"]["flavour"], "desktop");
    EXPECT_EQ((Json{root["context"]["draw_ns"], root["context"]["tick_ns"]}), (Json{2.481, 1.235}))
        << "the setting's own decimals";
    std::string names;
    for (const Json &entry : root["benchmarks"]) {
        names +=
            entry["name"].get<std::string>() + "/" + entry["run_type"].get<std::string>() + " ";
    }
    EXPECT_EQ(names, "Pixel/iteration Pixel/iteration Pixel/iteration Pixel_mean/aggregate "
                     "Pixel_median/aggregate Bit\"Blt,\t/iteration Bit\"Blt,\t/iteration "
                     "Bit\"Blt,\t_mean/aggregate Bit\"Blt,\t_median/aggregate ");
    const Json &second = root["benchmarks"][1], &mean = root["benchmarks"][3];
    EXPECT_EQ((Numbers{second["repetition_index"], second["iterations"], second["real_time"],
                       second["cpu_time"], second["items_per_second"], mean["iterations"],
                       mean["real_time"], mean["cpu_time"]}),
              (Numbers{1, 800, 12501875, 5000750, 80, 3, 10279319.444, 1666916.667}));
    EXPECT_EQ(mean["aggregate_name"], "mean");
}

// One column per old run: ratio, interval, verdict and p, or why no verdict; then each
// run's geometric mean and counts, and what makes its figures unlike.
TEST(RunReport, TableComparesWithEachOldRun) {
    const Report now = RatesRun({6000, 7000, 8000, 9000, 10000}, {100, 200, 300, 400, 500});
    Report same = RatesRun({1000, 2000, 3000, 4000, 5000}, {100, 200, 300, 400, 500});
    same.Set.Target = "offscreen";
    same.Set.WarmupMs = 200;
    OldRun thin = Old(RatesRun({3000}, {3000})); // one sample, and one saved without rates
    thin.Tests[1] = {6, "BitBlt", 1, {}};
    EXPECT_EQ(
        ToTable(now, {Old(same, "a.json"), thin}),
        "QuenzelRun " QUENZEL_VERSION " (desktop), window 0x0x0\n"
        "10000 ms window: measured 10001 to 10011 ms, tick step 15.6 ms\n"
        "test            score        min        max  spread     n  +-99%\n"
        "Pixel             800        600       1000   50.0%     5      -\n"
        "BitBlt             30         10         50  133.3%     5      -\n"
        "TOTAL: 415\n"
        "geometric mean of the scores: 155\n"
        "(+-99%: how far the median rate's 99.0% interval reaches; - : fewer than 8 samples)\n"
        "(clocks: score, min, max: calls per second on the tick counter; spread, +-99%, "
        "ratios: of the rates,\n  calls per second on the performance counter)\n"
        "vs old 1: a.json\n"
        "warning: the runs differ in target window here, offscreen there, warmup_ms 0 here, "
        "200 there\n"
        "Pixel         2.667 [1.200, 10.000] faster p=0.0079 (within-run noise only)\n"
        "BitBlt        1.000 [0.200, 5.000] no significant difference p=1 (within-run noise "
        "only)\n"
        "faster: Pixel\n"
        "geometric mean of the ratios 1.633; faster 1, slower 0, no significant difference "
        "1, no verdict 0\n"
        "vs old 2: old.json\n"
        "Pixel         2.667 no verdict: 5 vs 1 samples, needs 5 a side\n"
        "BitBlt       30.000 no verdict: old run saved without its samples' rates\n"
        "geometric mean of the ratios 8.944; faster 0, slower 0, no significant difference "
        "0, no verdict 2\n"
        "(ratio new/old of the rates, Hodges-Lehmann, with its 99.0% interval; verdict and "
        "p by the two-sided\n  Mann-Whitney U test; on the runs' medians where both sides "
        "have several)\n"
        "(within-run noise only: one run on a side, so its samples were compared; runs "
        "differ more than their\n  samples do, and such verdicts err far more often than "
        "the confidence says)\n");
    EXPECT_TRUE(Has(ToTable(same, {Old(now)}), "0.375 [0.100, 0.833] slower p=0.0079"));
    EXPECT_FALSE(Has(ToTable(now, {}), "vs old"));
    EXPECT_TRUE(Has(ToTable(now, {OldRun{}}), "ratios -; faster 0, slower 0"))
        << "no test in common";
    same.Tests.pop_back(); // a test the old run did not have
    EXPECT_TRUE(Has(ToTable(now, {Old(same)}), "\nBitBlt          n/a\n"));
    // Eight samples at 99 % give an interval, [1000, 1010] about 1003.5: Pixel's is known
    // to +-0.6 % (the farther end), BitBlt's not.
    const Numbers eight = {1000, 1001, 1002, 1003, 1004, 1005, 1006, 1010};
    Report precise = RatesRun(eight, {1, 2, 3});
    precise.Set.Precision = 0.02;
    EXPECT_TRUE(Has(ToTable(precise, {}), "     8   0.6%\nBitBlt"));
    EXPECT_EQ(Json::parse(ToJson(precise, {}))["tests"][0]["half_width"], 0.0065);
    precise.Set.MaxSeconds = 600;
    EXPECT_TRUE(Has(ToTable(precise, {}),
                    "\nPixel reached \u00b12 %\nBitBlt did not reach \u00b12 % "
                    "in 600 s: too few samples for an interval\n"));
    precise.Set.Precision = 0.001;
    EXPECT_TRUE(
        Has(ToTable(precise, {}), "\nPixel did not reach \u00b10.1 % in 600 s: \u00b10.6 %\n"));
    precise.Set.Precision = 0.02;
    Report both = RatesRun(eight, eight);
    both.Set.Precision = 0.02;
    EXPECT_TRUE(Has(ToTable(both, {}), "\nall 2 tests reached \u00b12 %\n"));
    Report three = both;
    three.Tests.push_back(precise.Tests[1]);
    three.Tests.back().Name = "TextOut";
    EXPECT_TRUE(Has(ToTable(three, {}), "\nPixel and BitBlt reached \u00b12 %\nTextOut did not"));
    both.Tests.pop_back();
    EXPECT_TRUE(Has(ToTable(both, {}), "\nPixel reached \u00b12 %\n")) << "one test of one";
    // Known to exactly the precision asked for: 160 lies 25 % above 128, 100 nearer.
    Report edge = RatesRun({100, 128, 128, 128, 128, 128, 128, 160}, {});
    edge.Set.Precision = 0.25;
    edge.Set.Confidence = 0.9;
    EXPECT_TRUE(Has(ToTable(edge, {}), "\nPixel reached \u00b125 %\n"));
    EXPECT_TRUE(Has(ToTable(edge, {}), "+-90%: how far the median rate's 90.0% interval reaches; "
                                       "- : fewer than 5 samples"));
    precise.Set.Raw = true; // and 8 raw rates: the efficiency's interval, d(8) to d(57)
    for (int i = 0; i < 8; i++) {
        precise.Tests[0].Raw.push_back({1, 1, 1990.0 + 20 * i, 1, 5});
    }
    Summarise(precise);
    EXPECT_TRUE(Has(ToTable(precise, {}), "  48.8% [47.4, 50.3]"));
}

// The gate fails the tests called slower whose whole interval lies below 1 - P/100,
// against the first old run only; the table marks them.
TEST(RunReport, GateFailsWhatIsSlowerBeyondItsMargin) {
    const Report now = RatesRun({1000, 2000, 3000, 4000, 5000}, {100, 200, 300, 400, 500});
    const OldRun faster = Old(RatesRun({6000, 7000, 8000, 9000, 10000}, {100, 200, 300, 400, 500}));
    // Pixel: 0.375 [0.100, 0.833], slower; BitBlt: no significant difference.
    EXPECT_EQ(SlowerBeyond(now, faster, 16), std::vector<std::string>{"Pixel"});
    EXPECT_EQ(SlowerBeyond(now, faster, 16.8), std::vector<std::string>{}) << "0.833 > 0.832";
    EXPECT_EQ(SlowerBeyond(now, faster, 0), std::vector<std::string>{}) << "no gate";
    EXPECT_EQ(SlowerBeyond(now, Old(now), 1), std::vector<std::string>{});
    OldRun idle = faster;
    idle.Tests[0].Median = 0;
    EXPECT_EQ(Comparisons(now, idle).size(), 2u) << "a score of 0 is compared by its rates";
    idle.Tests[0].Rates.clear();
    EXPECT_EQ(Comparisons(now, idle).size(), 1u) << "an old test that drew nothing is no measure";
    Report raw = now; // with the ceiling's block, every line fits 100 columns
    raw.Set.Raw = true;
    const std::string table = ToTable(raw, {faster}, 16);
    std::istringstream lines(table);
    for (std::string line; std::getline(lines, line);) {
        EXPECT_LE(line.size(), 100u) << line;
    }
    EXPECT_TRUE(Has(table, "\nPixel <<      0.375 [0.100, 0.833] slower") &&
                Has(table, "\nBitBlt        1.000") && Has(table, "so the harness costs no more") &&
                Has(table, "\ngate: 1 test(s) slower than old 1 by more than 16%, marked <<\n"))
        << table;
    const std::string second = ToTable(now, {Old(now), faster}, 0.5);
    EXPECT_FALSE(Has(second, "Pixel <<")) << "the first old run only";
    EXPECT_TRUE(Has(second, "\ngate: 0 test(s) slower than old 1 by more than 0.5%, marked <<\n"));
}

// With old runs a forest plot of the ratios and intervals on a log axis around 1; without,
// the samples around the median. Whatever the names hold, the XML is well-formed.
TEST(RunReport, ChartOfRatiosOrOfSamples) {
    const Report now = RatesRun({6000, 7000, 8000, 9000, 10000}, {100, 200, 300, 400, 500});
    const Report old = RatesRun({1000, 2000, 3000, 4000, 5000}, {100, 200, 300, 400, 500});
    // The axis reaches 10 (the interval's top) ^ 1.05 = 11.2 either way from 1 at 265.
    const std::string forest = ToSvg(
        now,
        {Old(old,
             "a<&"
             "\"\x01\xff\xed\xa0\x80\xed\xbf\xbf\xffz\xc3\xa9デ\xf0\x9f\x98\x80\xf4\x8f\xbf\xbf")});
    for (const char *part :
         {"<line class=\"interval\" x1=\"280.1\" x2=\"455.5\" y1=\"71.0\" y2=\"71.0\" "
          "stroke=\"#1a7f37\"",
          "<circle cx=\"346.1\" cy=\"71.0\" r=\"4\" fill=\"#1a7f37\"", "stroke=\"#555555\"",
          "<text x=\"10\" y=\"40\">old 1: "
          "a&lt;&amp;&quot;zéデ\xf0\x9f\x98\x80\xf4\x8f\xbf\xbf</text>",
          "y=\"120.0\" text-anchor=\"middle\">11.2</text>", ">0.0891</text>",
          "<text x=\"10\" y=\"20\">QuenzelRun " QUENZEL_VERSION
          " (desktop): ratio new/old of the rates, with its 99.0% interval",
          "y=\"75.0\" fill=\"#1a7f37\">2.667 faster</text>",
          ">1.000 no significant difference</text>"}) {
        EXPECT_TRUE(Has(forest, part)) << part << "\n" << forest;
    }
    // The widest text: 31 characters of a note beside the 400-pixel plot.
    EXPECT_TRUE(Has(forest, "width=\"728\" height=\"144\""));
    // Against two old runs, slower: the axis reaches 1 / 0.1 (an interval's foot).
    const std::string two = ToSvg(old, {Old(now), Old(now)});
    EXPECT_TRUE(Has(two, ">11.2</text>") && Has(two, ">Pixel vs old 2</text>")) << two;
    Report named = RatesRun({80, 100, 110}, {});
    named.Tests[0].Name = "\u0080\u07FF\u0800\U00010000"; // each length's least character
    EXPECT_TRUE(Has(ToSvg(named, {}), ">\u0080\u07FF\u0800\U00010000</text>"));
    const std::string alone = ToSvg(RatesRun({80, 100, 110}, {}), {});
    for (const char *part : {"<circle cx=\"74.5\"", "<circle cx=\"265.0\"", "<circle cx=\"346.4\"",
                             ">+26.4%</text>", ">-20.9%</text>", ">score 10, 3 samples</text>"}) {
        EXPECT_TRUE(Has(alone, part)) << part << "\n" << alone;
    }
    EXPECT_FALSE(Has(alone, "interval"));
    EXPECT_EQ(alone.rfind("</svg>\n"), alone.size() - 7);
}

// Every field is checked against its kind and range, naming the field and the test; null
// stands for unknown where a field may be unknown; a sample's times must be its window's;
// what is not JSON, not a saved run, or nested deeper than one is refused.
TEST(SavedRun, FieldsOutOfRangeAreRefusedByName) {
    Report run = Runs(2, 100);
    run.Set.WindowMs = 300;
    run.Set.TickStepMs = 16;
    for (Sample &x : run.Tests[0].Samples) {
        x.TickMs = 301;
        x.QpcMs = 300.5;
    }
    run.Set.RunIds = {"r1", "r2"};
    const Json saved = Json::parse(ToJson(run, {}));
    Report back;
    std::string error;
    Json lenient = saved;
    lenient["depth"] = nullptr;
    lenient["extra"] = {{{1}}, true};
    lenient["tests"][0]["samples"][0]["qpc_ms"] = 301 - 17 + 0.001; // a tick step and 1 ms off
    lenient["tests"][0]["samples"][1]["qpc_ms"] = 301 + 17 + 1000;  // and a second held off
    lenient["tests"][0]["raw_samples"] = {{{"calls", 1}, {"qpc_ms", 1}, {"rate", 1}}};
    ASSERT_TRUE(ReadRun("\xEF\xBB\xBF" + lenient.dump(), back, error)) << error;
    EXPECT_TRUE(back.Tests[0].Raw.empty()) << "a raw sample that replays no sample it names";
    const std::pair<std::function<void(Json &)>, std::string> bad[] = {
        {[](Json &j) { j["width"] = 3e9; },
         "\"width\" must be a whole number from 0 to 2147483647, not 3000000000.0"},
        {[](Json &j) { j["window_ms"] = 0; }, "\"window_ms\" must be a whole number from 1"},
        {[](Json &j) { j["depth"] = "32"; }, "\"depth\" must be a whole number from 0 to "
                                             "2147483647, not anything else"},
        {[](Json &j) { j["confidence"] = 1.99; }, "\"confidence\" must be a number from 0.5"},
        {[](Json &j) { j["suite"] = "all"; }, "\"suite\" is \"all\", not seven or wide"},
        {[](Json &j) { j["tests"][0]["index"] = 8; }, "test 8 is beyond the seven suite's table"},
        {[](Json &j) { j["tests"][0]["index"] = 1.5; },
         "test \"Pixel\": \"index\" must be a whole number"},
        {[](Json &j) { j["tests"][0].erase("name"); }, "test 1: \"name\" is not text"},
        {[](Json &j) { j["tests"][0]["median"] = nullptr; },
         "test \"Pixel\": \"median\" is null, where a number is needed"},
        {[](Json &j) { j["tests"].push_back(j["tests"][0]); }, "test 1 is listed twice"},
        {[](Json &j) { j["tests"][0]["picture"] = 12345; },
         "test \"Pixel\": \"picture\" is not text"},
        {[](Json &j) { j["tests"][0]["picture_varies"] = 1; }, "is neither true nor false"},
        {[](Json &j) {
             j["run_ids"] = {1, 2};
         },
         "\"run_ids\" holds other than text"},
        {[](Json &j) { j["run_ids"] = "r1"; }, "\"run_ids\" is not a list"},
        {[](Json &j) {
             j["run_ids"] = {"r1", "r1"};
         },
         "\"run_ids\" names run r1 twice"},
        {[](Json &j) { j["tests"][0]["samples"][1]["per_second"] = -1000; },
         "test \"Pixel\", sample 2: \"per_second\" must be a whole number from 0"},
        {[](Json &j) { j["tests"][0]["samples"][0]["count"] = -5; },
         "test \"Pixel\", sample 1: \"count\" must be a whole number from 1"},
        {[](Json &j) { j["tests"][0]["samples"][0]["qpc_ms"] = -3; },
         "test \"Pixel\", sample 1: \"qpc_ms\" must be a number from 1e-06"},
        {[](Json &j) { j["tests"][0]["samples"][0]["rate"] = 5e-7; }, "\"rate\" must be a number"},
        {[](Json &j) { j["tests"][0]["samples"][0]["cpu_ms"] = -1; }, "\"cpu_ms\" must be"},
        {[](Json &j) { j["tests"][0]["samples"][0]["tick_ms"] = 4294967295u; },
         "test \"Pixel\", sample 1: \"tick_ms\" 4294967295 is no measurement of a 300 ms window"},
        {[](Json &j) { j["tests"][0]["samples"][0]["tick_ms"] = 300; }, "\"tick_ms\" 300 is no"},
        {[](Json &j) { j["tests"][0]["samples"][0]["qpc_ms"] = 301 - 18; },
         "\"qpc_ms\" 283.0 and \"tick_ms\" 301 cannot time one window"},
        {[](Json &j) { j["tests"][0]["samples"][0]["qpc_ms"] = 301 + 17 + 1001; },
         "cannot time one window"},
        {[](Json &j) { j["a"] = Json::parse("[[[[[[[[1]]]]]]]]"); },
         "nested deeper than a saved run"},
        {[](Json &j) { j["program"] = "Other"; }, "not a run"},
        {[](Json &j) { j["tests"] = Json::object(); }, "not a run"},
        {[](Json &j) { j["tests"] = Json::array(); }, "not a run"},
        {[](Json &j) { j["tests"].push_back(1); }, "\"tests\" holds other than tests"},
    };
    for (const auto &[change, message] : bad) {
        Json broken = saved;
        change(broken);
        EXPECT_FALSE(ReadRun(broken.dump(), back, error)) << message;
        EXPECT_TRUE(Has(error, message)) << error << "\n" << message;
    }
    for (const auto &[text, message] : std::vector<std::pair<std::string, std::string>>{
             {"{\"width\": 1e999}", "number overflow"},
             {"{\"width\": 1,}", "parse error at line 1, column 13: syntax error"},
             {"", "parse error at line 1, column 1"}}) {
        EXPECT_FALSE(ReadRun(text, back, error));
        EXPECT_EQ(error.substr(0, message.size()), message) << text;
    }
}

// With several runs a side the runs' medians are compared: four against four can
// never be significant at 99 %, however far apart, where their 12 samples a side
// would be; five against five can. A single run on a side compares its samples.
TEST(Groups, TheRunIsTheUnitWithSeveralRunsASide) {
    const Report four = Runs(4, 200), five = Runs(5, 200);
    const OldTest before4 = Old(Runs(4, 100)).Tests[0], before5 = Old(Runs(5, 100)).Tests[0];
    Comparison c = CompareTest(four.Tests[0], before4, 0.99);
    EXPECT_EQ(Numbers({double(c.Verdict), double(c.ByRuns), c.Low}),
              Numbers({Comparison::TooFew, 1, 0}));
    EXPECT_NEAR(c.Ratio, 202.5 / 102.5, 1e-4);
    const OldRun none;
    EXPECT_EQ(VerdictText({none, four.Tests[0], before4, c, 0.99}),
              "no verdict: 4 vs 4 runs, needs 5 a side");
    EXPECT_TRUE(CompareTest(Runs(2, 200).Tests[0], Old(Runs(2, 100)).Tests[0], 0.99).ByRuns)
        << "two runs a side already count as runs";
    EXPECT_EQ(Compare(AsOld(four, "").Tests[0].Rates, before4.Rates, 0.99).Verdict,
              Comparison::Faster);
    c = CompareTest(five.Tests[0], before5, 0.99);
    EXPECT_EQ(Numbers({double(c.Verdict), double(c.ByRuns), c.P * 252}),
              Numbers({Comparison::Faster, 1, 2}));
    c = CompareTest(Runs(1, 200).Tests[0], before5, 0.99);
    EXPECT_EQ(Numbers({double(c.Verdict), double(c.ByRuns)}),
              Numbers({Comparison::NoDifference, 0}));
    const std::string table = ToTable(five, {Old(Runs(1, 100))});
    EXPECT_TRUE(
        Has(table, "test            score        min        max  within between runs") &&
        Has(table, "\nPixel              20         15         25   50.0%    2.0%    5    15") &&
        Has(table, "p=0.011 (within-run noise only)\n") &&
        Has(table, "\ngeometric mean of the scores: 20\n"))
        << table;
}

// A group takes runs of one setting: each added run numbered after the group's,
// its tests joined by index; a run of another setting is refused, naming how.
TEST(Groups, RunsOfOneSettingJoinNumbered) {
    Report group, other = RatesRun({7, 8}, {90});
    other.Tests[0].Raw = {{1, 1, 1, 2, 5}};
    std::string error;
    ASSERT_TRUE(AddToGroup(group, Runs(2, 100), error) && AddToGroup(group, other, error));
    ASSERT_EQ(group.Tests.size(), 2u);
    std::vector<int> runs;
    for (const Sample &sample : group.Tests[0].Samples) {
        runs.push_back(sample.Run);
    }
    EXPECT_EQ(runs, std::vector<int>({1, 1, 1, 2, 2, 2, 3, 3}));
    EXPECT_EQ(group.Tests[1].Name + std::to_string(group.Tests[1].Samples[0].Run), "BitBlt3");
    EXPECT_EQ(group.Tests[0].Raw.at(0).Of, 8) << "the sample it replays, as the group numbers it";
    Summarise(group);
    const OldRun old = Old(group, "g");
    EXPECT_EQ(old.Name + std::to_string(old.Tests[0].Runs.back()), "g3");
    EXPECT_EQ(RunMedians(old.Tests[0]), Numbers({101, 102, 7.5}));
    EXPECT_EQ(old.Tests.at(1).Median, 9) << "a test the first run lacks: the median of its run";
    other.Set.WindowMs = 300;
    other.Set.Flavour = "handheld";
    EXPECT_FALSE(AddToGroup(group, other, error));
    EXPECT_EQ(error, "flavour handheld here, desktop there, window_ms 300 here, 10000 there");
    EXPECT_EQ(group.Tests[0].Samples.size(), 8u);
}

// A group saved reads back whole, runs and raw samples included; what is not a
// saved run is refused by name. Its runs are made with every option spelt out.
TEST(Groups, SavedGroupsReadBackWhole) {
    Report group = Runs(2, 100), back;
    group.Tests[0].Raw = {{5, 1, 5000, 4, 5}};
    group.Set.Facts = {{"cpus", "2", false}, {"cpu", "x86", true}};
    Summarise(group);
    std::string error;
    ASSERT_TRUE(ReadRun(ToJson(group, {}), back, error)) << error;
    Summarise(back);
    EXPECT_EQ(ToJson(back, {}), ToJson(group, {}));
    Json broken = Json::parse(ToJson(group, {}));
    broken["tests"][0]["samples"][1]["run"] = 1.5;
    EXPECT_FALSE(ReadRun(broken.dump(), back, error));
    EXPECT_EQ(error, "test \"Pixel\", sample 2: \"run\" must be a whole number from 1 to "
                     "2147483647, not 1.5");
    EXPECT_EQ(OtherFileName("a.b/c.json") + OtherFileName("a.b/c"), "a.b/c-other.jsona.b/c-other");
    Options o;
    const char *argv[] = {"",      "--tests=1,6", "--precision=2",   "--shuffle=3", "--affinity=0",
                          "--raw", "--quiet",     "--offscreen=8x6", "--json=x",    "--wait"};
    ASSERT_TRUE(ParseOptions(10, argv, o, error));
    std::string line;
    for (const std::string &argument : RunArguments(o.Measure)) {
        line += argument + " ";
    }
    EXPECT_EQ(line, "--suite seven --tests 1,6 --window-ms 10000 --repeat 1 --warmup-ms 10000 "
                    "--confidence 0.99 --offscreen 8x6x32 --precision 2 --max-seconds 600 "
                    "--shuffle 3 --affinity 0 --raw "
                    "--quiet --wait ")
        << "processor 0 too";
    o.Measure.Wait = false;
    o.Measure.Concurrent = true;
    EXPECT_EQ(RunArguments(o.Measure).back(), "--concurrent")
        << "a run beside another, each of them";
    // Twice the measuring and the pictures, and a minute: 2 x (2 tests x (10 s + 1 x 20 s
    // raw + 1 s) + 600 s).
    EXPECT_EQ(RunLimitMs(o.Measure), 2 * (2 * 31000 + 600000) + 60000u);
    o.Measure.Repeat = 1000;
    o.Measure.WarmupMs = 600000;
    o.Measure.WindowMs = 4294967295u;
    EXPECT_EQ(RunLimitMs(o.Measure), 4294967294u) << "never the wait for ever";
}

// Runs a side with identities: Pixel alone, run i's rates m + i and m + i -+ 50, the
// i-th of those identities for run i.
Report Identified(int runs, double m, const std::vector<std::string> &ids) {
    Report group = Runs(runs, m);
    group.Set.RunIds = ids;
    return group;
}

// A run met again (a copy, a second pattern, a merged group) counts once with its raw
// samples, known by its identity or else its samples; run numbers are renumbered. One
// identity with other samples is refused, naming both files.
TEST(Groups, EachRunCountsOnce) {
    Report group, merged;
    std::string error;
    Report a = Identified(2, 100, {"a1", "a2"}), b = Identified(1, 200, {"b1"}), old = Runs(2, 50);
    a.RunFiles = {"a.json", "a.json"};
    a.Set.Spent = {1, 1, 100, 1, 1, 1};
    b.Set.Spent = {1, 1, 50, 1, 1, 1};
    Report copy = b;
    copy.Tests[0].Raw = {{1, 1, 1, 3, 5}};
    ASSERT_TRUE(AddToGroup(merged, a, error) && AddToGroup(merged, b, error) &&
                AddToGroup(merged, old, error));
    ASSERT_TRUE(ReadRun(ToJson(merged, {}), merged, error)) << error;
    EXPECT_EQ(merged.Set.RunIds, std::vector<std::string>({"a1", "a2", "b1", "", ""}));
    Report recounted = old; // its first run has other samples: another run
    recounted.Tests[0].Samples[0].Count++;
    for (const Report *run :
         std::vector<const Report *>{&a, &b, &copy, &merged, &old, &old, &recounted}) {
        ASSERT_TRUE(AddToGroup(group, *run, error)) << error;
    }
    EXPECT_EQ(RunMedians(group.Tests[0]), Numbers({101, 102, 201, 51, 52, 51}));
    const Phases &t = group.Set.Spent;
    const double p = 2 + 2 * 2 / 5.0;
    EXPECT_EQ((Numbers{t.StartMs, t.WarmupMs, t.WindowsMs, t.RawMs, t.SetUpMs, t.PicturesMs}),
              (Numbers{p, p, 150 + 150 * 2 / 5.0, p, p, p}))
        << "each run's time counted once: of the merged group, its two runs met the first time";
    EXPECT_TRUE(group.Tests[0].Raw.empty()) << "the raw samples of a run met again go with it";
    Report first;
    ASSERT_TRUE(AddToGroup(first, copy, error));
    EXPECT_EQ(first.Tests[0].Raw.size() == 1 ? first.Tests[0].Raw[0].Of : 0, 3) << "kept, met once";
    Report forged = Identified(1, 100, {"a2"});
    forged.RunFiles = {"b.json"};
    EXPECT_FALSE(AddToGroup(group, forged, error));
    EXPECT_EQ(error,
              "run a2 has other samples in 'b.json' than in 'a.json': one identity, one run");
    // A hand-made file's run numbers: the group numbers its runs 1, 2, 3...
    Report far = Runs(1, 100), none;
    for (Sample &sample : far.Tests[0].Samples) {
        sample.Run = 2147483647;
    }
    ASSERT_TRUE(AddToGroup(none, far, error) && AddToGroup(none, Runs(1, 300), error));
    EXPECT_EQ(RunNumbers(none), std::vector<int>({1, 2}));
}

// A run saved without a picture says nothing of its group's: in either order the group
// has the picture the others drew, and the gate gives one answer.
TEST(Groups, APictureDoesNotHangOnTheOrderOfTheFiles) {
    Report drawn = Runs(1, 100), blind = Runs(1, 200);
    drawn.Tests[0].Drawn = {"aaaa", false, false};
    std::string error;
    for (const auto &[x, y] : {std::pair{&drawn, &blind}, {&blind, &drawn}}) {
        Report group;
        ASSERT_TRUE(AddToGroup(group, *x, error) && AddToGroup(group, *y, error));
        EXPECT_EQ(group.Tests[0].Drawn.Digest + (group.Tests[0].Drawn.Varies ? " varies" : ""),
                  "aaaa");
    }
}

// Another build is another setting: within a group refused, naming the difference;
// between the sides allowed, and said above the comparison.
TEST(Groups, TheBuildIsPartOfTheSetting) {
    Report x64 = Runs(5, 100), x86 = Runs(5, 100), group;
    x64.Set.Architecture = "x64";
    x86.Set.Architecture = "x86";
    x86.Set.Version = "0.0-old";
    std::string error;
    ASSERT_TRUE(AddToGroup(group, x64, error));
    EXPECT_FALSE(AddToGroup(group, x86, error));
    EXPECT_EQ(error, "version 0.0-old here, 0.1 there, architecture x86 here, x64 there");
    const std::string table = ToTable(x64, {Old(x86)});
    EXPECT_TRUE(Has(table, "warning: the runs differ in version 0.1 here, 0.0-old there, "
                           "architecture x64 here, x86 there\nPixel "))
        << table;
    x86.Set.Version.clear();
    EXPECT_EQ(SettingDifferences(x64.Set, x86.Set).substr(0, 36),
              "version 0.1 here, unknown there, arc");
}

// What the program writes, it reads: --confidence's greatest value, each sample's
// processor time, run identities; a test's name must be the table's for its index.
TEST(SavedRun, WhatIsWrittenReadsBack) {
    Report run = Identified(2, 100, {"x", "y"}), back;
    run.Set.Confidence = 0.999;
    run.Set.Affinity = 0;
    run.Tests[0].Samples[1].CpuMs = 2.5;
    run.Tests[0].Raw = {{1, 1, 1, 6, 5}};
    Summarise(run);
    std::string error;
    ASSERT_TRUE(ReadRun(ToJson(run, {}), back, error)) << error;
    Summarise(back);
    EXPECT_EQ(ToJson(back, {}), ToJson(run, {}));
    EXPECT_GT(Json::parse(ToBenchmarkJson(back))["benchmarks"][1]["cpu_time"], 0);
    const Json saved = Json::parse(ToJson(run, {}));
    EXPECT_EQ(saved["affinity"], 0) << "processor 0, known";
    // Saved before: no processor time (not known, so none), raw samples naming no sample.
    Json older = saved;
    older["tests"][0]["samples"][1].erase("cpu_ms");
    older["tests"][0]["raw_samples"][0].erase("replays_sample");
    ASSERT_TRUE(ReadRun(older.dump(), back, error)) << error;
    EXPECT_TRUE(back.Tests[0].Samples[1].CpuMs == 0 && back.Tests[0].Raw.empty());
    const std::pair<std::function<void(Json &)>, std::string> bad[] = {
        {[](Json &j) { j["tests"][0]["name"] = "Lime"; },
         "test 1 is named \"Lime\", where the table has \"Pixel\""},
        {[](Json &j) { j["run_ids"] = {"x"}; }, "\"run_ids\" names 1 runs, its samples 2"},
        {[](Json &j) { j["tests"][0]["raw_samples"][0]["replays_sample"] = 7; },
         "test \"Pixel\": \"replays_sample\" names no sample"},
        {[](Json &j) { j["tests"][0]["samples"].push_back(1); },
         "test \"Pixel\": \"samples\" holds other than samples"},
    };
    for (const auto &[change, message] : bad) {
        Json broken = saved;
        change(broken);
        EXPECT_FALSE(ReadRun(broken.dump(), back, error));
        EXPECT_EQ(error.substr(0, message.size()), message);
    }
}

// A score that rounds to 0 (fewer than ten calls in the window) is still a rate: its
// test is in the table, the gate, the files and the chart.
TEST(RunReport, AScoreOfZeroIsComparedByItsRates) {
    Report slow = Runs(5, 100), fast = Runs(5, 400000);
    for (Sample &sample : slow.Tests[0].Samples) {
        sample.PerSecond = 0;
    }
    Summarise(slow);
    EXPECT_EQ(slow.Tests[0].Spread, 0) << "runs of no score spread 0";
    const std::vector<OldRun> olds = {Old(fast)};
    EXPECT_EQ(SlowerBeyond(slow, olds[0], 5), std::vector<std::string>{"Pixel"});
    EXPECT_TRUE(Has(ToTable(slow, olds, 5), "\nPixel <<      0.000 ")) << ToTable(slow, olds, 5);
    EXPECT_EQ(Json::parse(ToJson(slow, olds))["comparisons"].size(), 1u);
    EXPECT_TRUE(Has(ToSvg(slow, olds), ">Pixel<"));
    slow.Tests[0].Samples[0].Rate = 0; // a window without a call: nothing to compare
    EXPECT_TRUE(Comparisons(slow, olds[0]).empty());
    EXPECT_TRUE(Comparisons(fast, Old(slow)).empty());
}

// A run far from the rest of its group (a busy machine, say) is named under the
// table, and kept.
TEST(Groups, AFarRunIsNamedAndKept) {
    EXPECT_EQ(FarRuns({100, 101, 102}), std::vector<size_t>{});
    EXPECT_EQ(FarRuns({100, 150, 101, 102}), std::vector<size_t>{1});
    EXPECT_EQ(FarRuns({104, 100, 100}), std::vector<size_t>{}) << "within 5 % of the rest";
    EXPECT_EQ(FarRuns({100, 150}), std::vector<size_t>{}) << "two runs: neither is the odd one";
    Report group = Runs(5, 7000);
    for (Sample &sample : group.Tests[0].Samples) {
        sample.Rate /= sample.Run == 3 ? 7 : 1;
    }
    Summarise(group);
    const std::string table = ToTable(group, {Old(group)});
    EXPECT_TRUE(Has(table, "\nrun 3 lies far from the other runs in Pixel (a busy machine?); it is "
                           "kept\n") &&
                Has(table, "\nold 1's run 3 lies far") && Has(table, "   5    15"))
        << table;
    const std::string full = std::string(49, 'a') + " " + std::string(50, 'b');
    EXPECT_EQ(Wrap(full + " c"), full + "\n  c\n") << "lines of 100 characters at most";
}

} // namespace

namespace {

// A wide run of four tests, 8 samples each at rate m (times slow for the SRCINVERT
// copies), each with its picture.
Report WideRun(double m, double slow, const std::string &linePicture) {
    Report report = RatesRun({}, {});
    report.Set.Suite = "wide";
    report.Set.WindowMs = 199;
    report.Tests.clear();
    for (const char *name :
         {"Line.10", "BitBlt.SRCINVERT.10", "BitBlt.SRCINVERT.100", "BitBlt.SRCINVERT.500"}) {
        TestRun test{.Index = WideIndex(name), .Name = name};
        const bool copy = test.Name[0] == 'B';
        for (int i = 0; i < 8; i++) {
            const double rate = (m + i) * (copy ? slow : 1);
            test.Samples.push_back({int64_t(rate), 200, 200, int(rate), rate});
        }
        test.Drawn = {copy ? "c0ffee" : linePicture, false};
        report.Tests.push_back(test);
    }
    Summarise(report);
    return report;
}

} // namespace

// The wide suite's table names what moved by its stem, sets apart a test whose sides
// drew other pictures, and its saved runs read back with their pictures.
TEST(Groups, TheWideSuiteNamesWhatMovedAndWhatDrewOtherwise) {
    const Report now = WideRun(1000, 0.5, "aaaa"), before = WideRun(1000, 1, "bbbb");
    Report read;
    std::string error;
    ASSERT_TRUE(ReadRun(ToJson(before, {}), read, error)) << error;
    OldRun old = Old(read);
    EXPECT_EQ(old.Set.Suite, "wide");
    EXPECT_EQ(old.Tests[0].Drawn.Digest, "bbbb");
    const std::string table = ToTable(now, {old});
    for (const char *line :
         {"\n-- lines\nLine.10 ", "\n-- copies\nBitBlt.SRCINVERT.10 ",
          "\nslower: BitBlt.* (3 tests)\n",
          "\nLine.10                 1.000 OTHER PICTURE: no verdict\n",
          "\nother picture: Line.10: the two sides drew different pixels",
          "ratios 0.500; faster 0, slower 3, no significant difference 0, no verdict 0;",
          "left out: 1 other picture(s)\n"}) {
        EXPECT_TRUE(Has(table, line)) << line << table;
    }
    EXPECT_FALSE(Has(table, "TOTAL")) << "the seven's alone";
    const std::string chart = ToSvg(now, {old});
    EXPECT_EQ(Count(chart, "class=\"interval\""), 3) << "none for the other picture's ratio";
    EXPECT_TRUE(Has(chart, "1.000 no verdict: another picture"));
    EXPECT_LT(Json::parse(ToJson(now, {old}))["comparisons"][1]["low"].get<double>(), 0.6)
        << "half as fast, its interval below 1";
    EXPECT_EQ(OtherPictures(Comparisons(now, old)), std::vector<std::string>{"Line.10"});
    // A picture that varies is no other picture; two runs of one group that drew
    // differently vary.
    old.Tests[0].Drawn.Varies = true;
    EXPECT_TRUE(OtherPictures(Comparisons(now, old)).empty());
    Report group;
    ASSERT_TRUE(AddToGroup(group, now, error) && AddToGroup(group, before, error)) << error;
    EXPECT_EQ(std::vector<bool>({group.Tests[0].Drawn.Varies, group.Tests[1].Drawn.Varies}),
              std::vector<bool>({true, false}));
    const Json saved = Json::parse(ToJson(group, {}));
    EXPECT_EQ(saved["tests"][0]["picture_varies"], true);
    EXPECT_TRUE(saved["total"].is_null());
    // Shortened names: a stem only where every test under it is named.
    EXPECT_EQ(Shortened(now, {"BitBlt.SRCINVERT.10", "Line.10"}), "Line.10, BitBlt.SRCINVERT.10");
    EXPECT_EQ(
        Shortened(now, {"BitBlt.SRCINVERT.10", "BitBlt.SRCINVERT.500", "BitBlt.SRCINVERT.100"}),
        "BitBlt.* (3 tests)");
    // Names are the wide table's; the seven and the wide suite never meet in a group.
    std::string wrong = ToJson(now, {});
    wrong.replace(wrong.find("\"Line.10\""), 9, "\"Line.11\"");
    EXPECT_FALSE(ReadRun(wrong, read, error));
    EXPECT_EQ(error, "test 4 is named \"Line.11\", where the table has \"Line.10\"");
    Report seven = RatesRun({1, 2}, {1, 2});
    EXPECT_FALSE(AddToGroup(group, seven, error));
    EXPECT_TRUE(Has(error, "suite seven here, wide there")) << error;
}
