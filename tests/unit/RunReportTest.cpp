#include "Json.h"
#include "Report.h"

#include <gtest/gtest.h>

#include <map>

namespace {

Sample Score(INT perSecond, double rate = 1000) {
    return Sample{perSecond * 10, 10001, 10001.5, perSecond, rate};
}

Report TwoTests() {
    Report report;
    report.Set.Flavour = "desktop";
    report.Set.Target = "window";
    report.Set.Wine = "8.0";
    report.Set.Repeat = 3;
    report.Set.Raw = true;
    TestRun pixel;
    pixel.Index = 1;
    pixel.Name = "Pixel";
    pixel.Samples = {Score(100, 1000), Score(80, 800), Score(120, 1200)};
    pixel.Raw = {{2000, 1000, 2000}, {2000, 1000, 1000}};
    TestRun blt;
    blt.Index = 6;
    blt.Name = "BitBlt";
    blt.Samples = {Score(10), Score(13)};
    report.Tests = {pixel, blt};
    Summarise(report);
    return report;
}

TEST(RunReport, SummariesOfTheSamples) {
    const Report report = TwoTests();
    const TestRun &pixel = report.Tests[0];
    EXPECT_EQ(pixel.Median, 100);
    EXPECT_EQ(pixel.Min, 80);
    EXPECT_EQ(pixel.Max, 120);
    EXPECT_DOUBLE_EQ(pixel.Spread, 0.4);
    EXPECT_EQ(pixel.RateMedian, 1000);
    EXPECT_EQ(pixel.RawMedian, 1500); // an even count: the mean of the middle two
    EXPECT_DOUBLE_EQ(pixel.Efficiency, 1000.0 / 1500);
    EXPECT_EQ(report.Tests[1].Median, 11.5);
    EXPECT_EQ(report.Tests[1].Efficiency, 0) << "no raw samples";
    EXPECT_EQ(report.Total, 55); // floor(100 + 11.5) div 2
}

TEST(RunReport, JsonHoldsTheSettingSamplesAndSummaries) {
    const Report report = TwoTests();
    JsonValue root;
    std::string error;
    ASSERT_TRUE(ParseJson(ToJson(report), root, error)) << error;
    EXPECT_EQ(root.Get("flavour")->Text, "desktop");
    EXPECT_EQ(root.Get("wine")->Text, "8.0");
    EXPECT_EQ(root.Get("raw")->Boolean, true);
    EXPECT_EQ(root.Get("total")->Num, 55);
    const JsonValue &tests = *root.Get("tests");
    ASSERT_EQ(tests.Items.size(), 2u);
    EXPECT_EQ(tests.Items[0].Get("samples")->Items.size(), 3u);
    EXPECT_EQ(tests.Items[0].Get("samples")->Items[1].Get("count")->Num, 800);
    EXPECT_EQ(tests.Items[0].Get("raw_samples")->Items.size(), 2u);
    EXPECT_EQ(tests.Items[1].Get("name")->Text, "BitBlt");

    Report back;
    ASSERT_TRUE(ParseReport(ToJson(report), back, error)) << error;
    ASSERT_EQ(back.Tests.size(), 2u);
    EXPECT_EQ(back.Tests[1].Index, 6);
    EXPECT_EQ(back.Tests[1].Median, 11.5);
    EXPECT_DOUBLE_EQ(back.Tests[0].Spread, 0.4);

    Report none;
    none.Set.Wine = "";
    ASSERT_TRUE(ParseJson(ToJson(none), root, error));
    EXPECT_EQ(root.Get("wine")->Type, JsonValue::Null);
}

TEST(RunReport, CsvHasOneRowPerSettingSampleAndSummary) {
    const std::string csv = ToCsv(TwoTests());
    int settings = 0, samples = 0, raws = 0, summaries = 0, lines = 0;
    size_t start = 0;
    while (start < csv.size()) {
        const size_t end = csv.find('\n', start);
        const std::string line = csv.substr(start, end - start);
        settings += line.rfind("setting,", 0) == 0;
        samples += line.rfind("sample,", 0) == 0;
        raws += line.rfind("raw,", 0) == 0;
        summaries += line.rfind("summary,", 0) == 0;
        EXPECT_EQ(std::count(line.begin(), line.end(), ','), 16) << line;
        lines++;
        start = end + 1;
    }
    // The summary's values under their own column names.
    const auto split = [](const std::string &line) {
        std::vector<std::string> cells(1);
        for (const char c : line) {
            if (c == ',') {
                cells.emplace_back();
            } else {
                cells.back() += c;
            }
        }
        return cells;
    };
    const std::vector<std::string> header = split(csv.substr(0, csv.find('\n')));
    const size_t summary = csv.find("summary,1,");
    const std::vector<std::string> row =
        split(csv.substr(summary, csv.find('\n', summary) - summary));
    std::map<std::string, std::string> cell;
    for (size_t i = 0; i < header.size(); i++) {
        cell[header[i]] = row.at(i);
    }
    EXPECT_EQ(cell["name"], "Pixel");
    EXPECT_EQ(cell["median"], "100.0");
    EXPECT_EQ(cell["min"], "80");
    EXPECT_EQ(cell["max"], "120");
    EXPECT_EQ(cell["spread"], "0.4000");
    EXPECT_EQ(cell["rate"], "1000.0");
    EXPECT_EQ(cell["raw_median"], "1500.0");
    EXPECT_EQ(cell["efficiency"], "0.6667");
    EXPECT_EQ(samples, 5);
    EXPECT_EQ(raws, 2);
    EXPECT_EQ(summaries, 2);
    EXPECT_EQ(settings, 15);
    EXPECT_EQ(lines, 1 + 15 + 5 + 2 + 2);
}

TEST(RunReport, ComparisonMarksChangesBeyondBothSpreads) {
    Report old = TwoTests();
    Report now = TwoTests();
    now.Tests[0].Median = 130; // +30 %: within Pixel's 40 % spread
    now.Tests[1].Median = 23;  // +100 %: beyond both runs' spread
    now.Tests[1].Spread = 0.1;
    const std::string table = ToTable(now, &old);
    EXPECT_NE(table.find("1.300\n"), std::string::npos) << table;
    EXPECT_NE(table.find("2.000 *\n"), std::string::npos) << table;

    now.Tests[0].Spread = 0.1; // +30 %: beyond this run's spread but not the old run's
    EXPECT_NE(ToTable(now, &old).find("1.300\n"), std::string::npos);

    old.Tests.pop_back(); // a test the old run did not have
    EXPECT_NE(ToTable(now, &old).find("n/a"), std::string::npos);
}

TEST(RunReport, ChartHasABarPerTestAndTheOldRunBeside) {
    const Report report = TwoTests();
    auto count = [](const std::string &text, const std::string &what) {
        size_t n = 0;
        for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
            n++;
        }
        return n;
    };
    const std::string alone = ToSvg(report, nullptr);
    EXPECT_EQ(count(alone, "class=\"new\""), 2u);
    EXPECT_EQ(count(alone, "class=\"old\""), 0u);
    const std::string both = ToSvg(report, &report);
    EXPECT_EQ(count(both, "class=\"old\""), 2u);
    EXPECT_EQ(alone.rfind("</svg>\n"), alone.size() - 7);
}

TEST(Json, RejectsMalformedDocuments) {
    JsonValue value;
    std::string error;
    for (const char *bad : {"",      "{",         "{\"a\": }",
                            "[1, 2", "{\"a\" 1}", "tru",
                            "[1] x", "\"open",    "{\"tests\": [1,]}",
                            "nul",   "01",        "+1",
                            ".5",    "0x10",      "inf",
                            "1e999", "-",         "1.",
                            "1e",    "\"\\u12\"", "\"\\u+123\""}) {
        EXPECT_FALSE(ParseJson(bad, value, error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
    EXPECT_FALSE(ParseJson(std::string(100, '['), value, error)) << "too deep";
    ASSERT_TRUE(ParseJson(" {\"a\": [true, null, -1.5e2, \"x\\\"y\\u0041\"]} ", value, error))
        << error;
    const JsonValue &a = *value.Get("a");
    EXPECT_EQ(a.Items[2].Num, -150);
    EXPECT_EQ(a.Items[3].Text, "x\"yA");

    Report report;
    const std::string run = "{\"program\": \"QuenzelRun\", \"tests\": [";
    EXPECT_TRUE(ParseReport(run + "{\"index\": 7, \"median\": 0, \"spread\": 0}]}", report, error))
        << error;
    for (const std::string &bad : {
             run + "{\"index\": 1}]}",
             run + "]}",
             run + "{\"index\": 8, \"median\": 1, \"spread\": 0}]}",
             run + "{\"index\": 1.5, \"median\": 1, \"spread\": 0}]}",
             run + "{\"index\": 1, \"median\": -1, \"spread\": 0}]}",
             run + "{\"index\": 1, \"median\": 1e999, \"spread\": 0}]}",
             std::string("{\"tests\": [{\"index\": 1, \"median\": 1, \"spread\": 0}]}"),
             std::string("{\"total\": 3}"),
         }) {
        EXPECT_FALSE(ParseReport(bad, report, error)) << bad;
    }
}

} // namespace
