#include "Options.h"

#include <gtest/gtest.h>

namespace {

struct Parsed {
    bool ok;
    Options options;
    std::string error;
};

Parsed Parse(std::vector<const char *> args) {
    args.insert(args.begin(), "QuenzelRun");
    Parsed parsed;
    parsed.ok =
        ParseOptions(static_cast<int>(args.size()), args.data(), parsed.options, parsed.error);
    return parsed;
}

TEST(RunOptions, DefaultsAreTheInteractiveProgramsRun) {
    const Parsed p = Parse({});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.options.Tests, (std::vector<INT>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(p.options.WindowMs, 10000u);
    EXPECT_EQ(p.options.Repeat, 1);
    EXPECT_EQ(p.options.OffscreenWidth, 0);
    EXPECT_FALSE(p.options.Raw);
}

TEST(RunOptions, TestsByNameOrIndexRunInTableOrder) {
    EXPECT_EQ(Parse({"--tests", "Pixel,BitBlt"}).options.Tests, (std::vector<INT>{1, 6}));
    EXPECT_EQ(Parse({"--tests", "6,1"}).options.Tests, (std::vector<INT>{1, 6}));
    EXPECT_EQ(Parse({"--tests=textout,3,Rectangle"}).options.Tests, (std::vector<INT>{3, 7}));
    EXPECT_EQ(Parse({"--tests", "7"}).options.Tests, (std::vector<INT>{7}));
}

TEST(RunOptions, ValuesInBothForms) {
    const Parsed p = Parse({"--window-ms=1", "--repeat", "1000", "--offscreen", "640x480", "--raw",
                            "--json", "a.json", "--csv=b.csv", "--svg", "c.svg", "--compare",
                            "old.json", "--snapshot", "d.bmp"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.options.WindowMs, 1u);
    EXPECT_EQ(p.options.Repeat, 1000);
    EXPECT_EQ(p.options.OffscreenWidth, 640);
    EXPECT_EQ(p.options.OffscreenHeight, 480);
    EXPECT_TRUE(p.options.Raw);
    EXPECT_EQ(p.options.Json, "a.json");
    EXPECT_EQ(p.options.Csv, "b.csv");
    EXPECT_EQ(p.options.Svg, "c.svg");
    EXPECT_EQ(p.options.Compare, "old.json");
    EXPECT_EQ(p.options.Snapshot, "d.bmp");
    EXPECT_EQ(Parse({"--window-ms", "600000"}).options.WindowMs, 600000u);
    EXPECT_TRUE(Parse({"--help"}).options.Help);
}

// Each bad input gives one message that names the culprit.
TEST(RunOptions, BadInputIsNamed) {
    const std::pair<std::vector<const char *>, std::string> cases[] = {
        {{"--frobnicate"}, "'--frobnicate'"},
        {{"-x"}, "'-x'"},
        {{"stray"}, "'stray'"},
        {{"--tests", "Pixel,Foo"}, "'Foo'"},
        {{"--tests", "8"}, "'8'"},
        {{"--tests", "0"}, "'0'"},
        {{"--tests", "1,,2"}, "''"},
        {{"--window-ms", "0"}, "'0'"},
        {{"--window-ms", "600001"}, "'600001'"},
        {{"--window-ms", "-5"}, "'-5'"},
        {{"--window-ms", "1e3"}, "'1e3'"},
        {{"--repeat", "0"}, "'0'"},
        {{"--offscreen", "640"}, "'640'"},
        {{"--offscreen", "x480"}, "'x480'"},
        {{"--offscreen", "0x10"}, "'0x10'"},
        {{"--offscreen", "640x480x2"}, "'640x480x2'"},
        {{"--offscreen", "20000x10"}, "'20000x10'"},
        {{"--json"}, "'--json'"},
        {{"--csv="}, "'--csv'"},
        {{"--raw=yes"}, "'--raw'"},
        {{"--json", "--raw"}, "'--raw'"},
    };
    for (const auto &[args, culprit] : cases) {
        const Parsed p = Parse(args);
        EXPECT_FALSE(p.ok) << args[0];
        EXPECT_NE(p.error.find(culprit), std::string::npos) << p.error;
        EXPECT_EQ(p.error.find('\n'), std::string::npos) << "one line";
    }
}

} // namespace
