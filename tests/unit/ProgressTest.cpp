#include "Progress.h"

#include <gtest/gtest.h>

// What is owed at what each test's own samples took (a test not begun at the mean of
// all), a test past its count owing nothing, the time between samples in proportion.
TEST(Progress, TimeLeftFromWhatWasMeasured) {
    std::vector<TestRun> tests(3);
    tests[0].Samples.resize(1); // 1000 ms: 4 owed, 4000 ms
    tests[2].Samples.resize(6); // 100 ms each, one past --repeat 5
    // Test 2 owes 5 at 1600 / 7 ms each; and half as long again between samples.
    EXPECT_DOUBLE_EQ(SecondsLeft(tests, {1000, 0, 600}, 5, 2400),
                     (4000 + 5 * 1600.0 / 7) * 1.5 / 1000);
    EXPECT_DOUBLE_EQ(SecondsLeft(tests, {1000, 0, 600}, 1, 1600), 1600.0 / 7 / 1000)
        << "test 2 alone owes, one sample";
}

// Of --repeat: the sample of how many; with --precision: the half-width against the
// target, and the time left as an upper bound.
TEST(Progress, LineSaysWhatItCounts) {
    TestRun run{.Index = 2, .Name = "Line"};
    run.Samples = {{1, 1, 1, 1, 1}, {1, 1, 1, 1234, 1}};
    Plan options;
    options.Repeat = 5;
    EXPECT_EQ(ProgressLine(run, options, 0, 125.4),
              "Line      sample 2 of 5: score 1234, 2 min 05 s left");
    options.Precision = 0.02;
    EXPECT_EQ(
        ProgressLine(run, options, 0.0349, -3),
        "Line      sample 2: score 1234, \u00b13.5 % (target \u00b12 %), at most 0 min 00 s left");
    EXPECT_EQ(ProgressLine(run, options, 0, 59.5), "Line      sample 2: score 1234, no \u00b1 yet "
                                                   "(target \u00b12 %), at most 1 min 00 s left");
}
