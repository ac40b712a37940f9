#include "Options.h"
#include "Stats.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <sstream>
#include <tuple>

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
    EXPECT_EQ(Nums(double(o.Tests.size()), o.WindowMs, o.Repeat, o.OffscreenWidth, o.Raw, o.Help,
                   o.Quiet, o.Host, o.Confidence, o.Affinity, o.WarmupMs, o.Shuffle, o.Precision,
                   o.MaxSeconds),
              (std::vector<double>{7, 10000, 1, 0, 0, 0, 0, 0, 0.99, -1, 0, 0, 0, 600}))
        << "the interactive program's run, and the host stays private";
    EXPECT_NE(Usage().find("(default 10000)"), std::string::npos);
    ASSERT_TRUE(Parse(
        Words(
            "--tests textout,3,Rectangle,7 --window-ms=1 --repeat 1000 --offscreen 16384X1 "
            "--raw --json a --csv=b --svg c --compare o --snapshot d -h "
            "--quiet --host --confidence=0.5000000000 --affinity 63 --warmup-ms 600000 --shuffle 0 "
            "--precision 0.1% --max-seconds 000000086400 --benchmark-json e --compare p"),
        o, error))
        << error;
    EXPECT_EQ(Nums(o.Quiet, o.Host, o.Confidence, o.Affinity, o.WarmupMs, o.Shuffle, o.ShuffleSeed,
                   o.Precision, o.MaxSeconds),
              (std::vector<double>{1, 1, 0.5, 63, 600000, 1, 0, 0.001, 86400}));
    EXPECT_EQ(o.Tests, (std::vector<INT>{3, 7}));
    EXPECT_EQ((std::vector<long>{o.WindowMs, o.Repeat, o.OffscreenWidth, o.OffscreenHeight, o.Raw,
                                 o.Help}),
              (std::vector<long>{1, 1000, 16384, 1, 1, 1}));
    EXPECT_EQ(
        (Strings{o.Json, o.Csv, o.Svg, o.Snapshot, o.BenchmarkJson, o.Compare[0], o.Compare[1]}),
        (Strings{"a", "b", "c", "d", "e", "o", "p"}));
    ASSERT_TRUE(Parse({"--tests=BitBlt,1", "--window-ms", "600000", "--confidence", "0.999",
                       "--precision", "50", "--shuffle", "600000", "--max-seconds", "1"},
                      o, error));
    EXPECT_EQ(Nums(o.Tests[0], o.Tests[1], o.WindowMs, o.Confidence, o.Precision, o.ShuffleSeed,
                   o.MaxSeconds),
              (std::vector<double>{1, 6, 600000, 0.999, 0.5, 600000, 1}));
}

// Each bad input gives one line that names the culprit.
TEST(RunOptions, BadInputIsNamed) {
    const std::pair<Strings, std::string> cases[] = {
        {{"--frobnicate"}, "unknown option '--frobnicate'"},
        {{"stray"}, "unexpected argument 'stray'"},
        {{"--tests", "Pixel,Foo"}, "unknown test 'Foo'"},
        {{"--tests", "8"}, "'8'"},
        {{"--tests", "0"}, "'0'"},
        {{"--tests", "1,,2"}, "''"},
        {{"--window-ms", "0"}, "not '0'"},
        {{"--window-ms", "600001"}, "'600001'"},
        {{"--window-ms", "1e3"}, "'1e3'"},
        {{"--window-ms", "0000000000001"}, "'0000000000001'"},
        {{"--repeat", "0"}, "--repeat takes a whole number from 1 to 1000, not '0'"},
        {{"--repeat", "1001"}, "'1001'"},
        {{"--offscreen", "640"}, "'640'"},
        {{"--offscreen", "0x10"}, "'0x10'"},
        {{"--offscreen", "10x0"}, "'10x0'"},
        {{"--offscreen", "16385x10"}, "'16385x10'"},
        {{"--json"}, "option '--json' needs a value"},
        {{"--csv="}, "option '--csv' needs a file name, not ''"},
        {{"--raw=yes"}, "option '--raw' takes no value"},
        {{"--json", "--raw"}, "not '--raw'"},
        {{"--compare", "o", "--compare", "o"}, "--compare file 'o' is named twice"},
        {{"--confidence", "0.49"}, "--confidence takes a number from 0.5 to 0.999, not '0.49'"},
        {{"--confidence", "0.9995"}, "'0.9995'"},
        {{"--confidence", ".9"}, "'.9'"},
        {{"--confidence", "0.99000000000"}, "'0.99000000000'"},
        {{"--precision", "0.09"}, "--precision takes a percentage from 0.1 to 50, not '0.09'"},
        {{"--precision", "50.1%"}, "'50.1%'"},
        {{"--precision", "%"}, "'%'"},
        {{"--affinity", "64"}, "--affinity takes a processor number from 0 to 63, not '64'"},
        {{"--warmup-ms", "600001"}, "--warmup-ms takes a whole number from 0 to 600000"},
        {{"--shuffle", "-1"}, "--shuffle takes a whole number from 0 to 600000, not '-1'"},
        {{"--max-seconds", "0"}, "--max-seconds takes a whole number from 1 to 86400, not '0'"},
        {{"--max-seconds", "86401"}, "'86401'"},
        {{"--quiet=no"}, "option '--quiet' takes no value"},
        {{"--json", "a", "--csv", "b", "--svg", "c", "--snapshot", "d", "--benchmark-json", "e"},
         ""},
    };
    for (const auto &[args, culprit] : cases) {
        Options options;
        std::string error;
        const bool ok = Parse(args, options, error);
        EXPECT_EQ(ok, culprit.empty()) << args[0];
        EXPECT_EQ(error.substr(error.find(culprit)).substr(0, culprit.size()), culprit);
        EXPECT_EQ(error.find('\n'), std::string::npos) << "one line";
    }
}

// Known values: the U test's exact tail (the textbook 5-against-5 and 3-against-4
// cases), its normal approximation with ties and for large samples (as published
// statistics packages give them), the table's critical U of 23 for 10 against 10 at
// 95 % that bounds the interval by the 24th and 77th differences.
TEST(Stats, KnownValues) {
    const std::vector<double> low = {1, 2, 3, 4, 5}, high = {6, 7, 8, 9, 10};
    EXPECT_DOUBLE_EQ(MannWhitneyP(high, low), 2.0 / 252);
    EXPECT_DOUBLE_EQ(MannWhitneyP(low, high), 2.0 / 252);
    EXPECT_NEAR(SmallestP(5, 5), 2.0 / 252, 1e-15);
    EXPECT_DOUBLE_EQ(MannWhitneyP({1.5, 3.5, 9}, {2, 4, 5, 6}), 30.0 / 35);
    EXPECT_NEAR(
        MannWhitneyP({1.1, 2.2, 2.2, 3.3, 4.4, 4.4, 5.5}, {2.2, 3.3, 3.3, 4.4, 6.6, 7.7, 7.7, 8.8}),
        0.11392892811978714, 1e-12);
    Comparison c = Compare({111.0, 117.6, 105.5, 116.1, 109.1, 109.2, 121.5, 111.4, 110.3, 114.6},
                           {105.8, 99.8, 103.0, 95.2, 98.2, 97.8, 93.6, 92.7, 92.2, 98.8}, 0.95);
    EXPECT_EQ(Nums(c.Verdict, c.P < 0.001), Nums(Comparison::Faster, true));
    EXPECT_NEAR(c.Low, 1.1081932773109242, 1e-12);
    EXPECT_NEAR(c.High, 1.2017259978425032, 1e-12);
    std::vector<double> x, y; // 60 a side, y = 1.5 x + 0.25: the normal approximation
    for (int i = 1; i <= 60; i++) {
        x.push_back(i);
        y.push_back(1.5 * i + 0.25);
    }
    c = Compare(x, y, 0.99);
    EXPECT_EQ(c.Verdict, Comparison::Slower);
    EXPECT_NEAR(MannWhitneyP(y, x), 0.0011478495720709696, 1e-12);
    EXPECT_NEAR(c.Ratio * 1.5081989187420284, 1, 1e-12);
    EXPECT_NEAR(c.Low * 2.063953488372093, 1, 1e-12);
    EXPECT_NEAR(c.High * 1.1055555555555558, 1, 1e-12);
}

// Identical samples show no difference; samples too small for any p below 1 - confidence
// get an estimate and no verdict; a median's interval needs 8 values at 99 %.
TEST(Stats, EdgesOfTheEvidence) {
    const std::vector<double> five(6, 5.0);
    Comparison c = Compare(five, five, 0.99);
    EXPECT_EQ(Nums(c.Verdict, c.Ratio, c.P, c.Low, c.High),
              Nums(Comparison::NoDifference, 1, 1, 1, 1));
    c = Compare({1, 2, 4}, {2, 4, 8}, 0.99);
    EXPECT_EQ(Nums(c.Verdict, c.Ratio, c.Low, c.High), Nums(Comparison::TooFew, 0.5, 0, 0));
    c = Compare({1, 2, 3}, {}, 0.9);
    EXPECT_EQ(Nums(c.Verdict, c.Ratio, c.Low, c.High), Nums(Comparison::TooFew, 0, 0, 0));
    EXPECT_EQ(MannWhitneyP({}, {1}), 1);
    EXPECT_DOUBLE_EQ(MannWhitneyP({1}, {2, 3}), 2.0 / 3);
    double lowest = 0, highest = 0;
    EXPECT_FALSE(MedianInterval({1, 2, 3, 4, 5, 6, 7}, 0.99, lowest, highest));
    ASSERT_TRUE(MedianInterval({8, 1, 7, 2, 6, 3, 5, 4}, 0.99, lowest, highest));
    EXPECT_EQ(Nums(lowest, highest), Nums(1, 8));
    ASSERT_TRUE(MedianInterval({10, 9, 8, 7, 6, 5, 4, 3, 2, 1}, 0.95, lowest, highest));
    EXPECT_EQ(Nums(lowest, highest), Nums(2, 9));
    // On the edge at 50 %: 1 against 7 bounds the interval by the 2nd and the 6th of
    // the 7 ratios.
    c = Compare({40}, {1, 2, 3, 4, 5, 6, 7}, 0.5);
    EXPECT_NEAR(c.Low * 6, 40, 1e-9);
    EXPECT_NEAR(c.High, 20, 1e-9);
}

} // namespace
