#include "Progress.h"

#include <gtest/gtest.h>

// A step takes the plan's time until one of its kind is measured, then their mean; what
// is left is each kind's steps at its pace, a run's later runs with no pictures but
// each build's first.
TEST(Progress, TimeLeftAtThePaceMeasured) {
    Plan plan;
    plan.WindowMs = 200;
    plan.Repeat = 3;
    plan.WarmupMs = 20;
    Pace pace = PlannedPace(plan, 16, 50);
    EXPECT_EQ(std::vector<double>(pace.Ms, pace.Ms + 3), std::vector<double>({50, 28, 208}));
    pace.Add(SAMPLE_STEP, 300);
    pace.Add(SAMPLE_STEP, 200);
    EXPECT_EQ(pace.Ms[SAMPLE_STEP], 250);
    const Steps steps = RunSteps(plan, 10, true);
    EXPECT_EQ(std::vector<int>(steps.Of, steps.Of + 3), std::vector<int>({10, 10, 30}));
    EXPECT_EQ(MsFor(steps, pace), 10 * 50 + 10 * 28 + 30 * 250);
    EXPECT_EQ(LaterRunsMs(plan, 10, 4, 1, pace, 1000), 4 * (10 * 28 + 30 * 250 + 1000) + 10 * 50);
    plan.Raw = true;
    plan.WarmupMs = 0;
    EXPECT_EQ(PlannedPace(plan, 16, 0).Ms[SAMPLE_STEP], 416) << "a replay as long again";
    EXPECT_EQ(RunSteps(plan, 10, false).Of[WARMUP_STEP], 0);
    EXPECT_EQ(TimeLeft(125.4, false) + "|" + TimeLeft(-3, true),
              "2 min 05 s left|at most 0 min 00 s left");
}

// Of --repeat: the sample of how many; with --precision: the half-width against the
// target; a warm-up's or a picture's step among the run's tests. Each reads back as the
// step it ended and the time left it told.
TEST(Progress, LinesSayWhatTheyCountAndReadBack) {
    TestRun run{.Index = 2, .Name = "Line"};
    run.Samples = {{1, 1, 1, 1, 1}, {1, 1, 1, 1234, 1}};
    Plan plan;
    plan.Repeat = 5;
    const std::string sample = SampleLine(run, plan, 0, TimeLeft(125.4, false));
    EXPECT_EQ(sample, "Line      sample 2 of 5: score 1234, 2 min 05 s left");
    plan.Precision = 0.02;
    EXPECT_EQ(SampleLine(run, plan, 0.0349, TimeLeft(-3, true)),
              "Line      sample 2: score 1234, \u00b13.5 % (target \u00b12 %), at most 0 min 00 s "
              "left");
    EXPECT_EQ(
        SampleLine(run, plan, 0, TimeLeft(59.5, true)),
        "Line      sample 2: score 1234, no \u00b1 yet (target \u00b12 %), at most 1 min 00 s "
        "left");
    const std::string warm = StepLine(WARMUP_STEP, 3, 107, TimeLeft(61, false));
    EXPECT_EQ(warm, "warm-up: 3 of 107 tests, 1 min 01 s left");
    StepKind kind;
    double left;
    int tests;
    const std::pair<std::string, std::vector<double>> read[] = {
        {sample, {SAMPLE_STEP, 125, 0}},
        {warm, {WARMUP_STEP, 61, 107}},
        {StepLine(PICTURE_STEP, 1, 9, TimeLeft(0, false)), {PICTURE_STEP, 0, 9}}};
    for (const auto &[line, expected] : read) {
        ASSERT_TRUE(ReadProgress(line, kind, left, tests)) << line;
        EXPECT_EQ(std::vector<double>({double(kind), left, double(tests)}), expected) << line;
    }
    for (const char *other : {"QuenzelRun: skipped, larger than the 9x9 surface: Text.Arial.24",
                              "Line sample: 1 min 5 s left", "Line sampled 1, 1 min 05 s left",
                              "1 min 05 s left", "x min 05 s left", "Line sample 1: 1 min 05 s"}) {
        EXPECT_FALSE(ReadProgress(other, kind, left, tests)) << other;
    }
}

// A command of runs says where its time went.
TEST(Progress, TimeSpentByPhase) {
    const Phases spent{12000, 107000, 642000, 0, 31000, 150000};
    EXPECT_EQ(TimeSpentLine(spent, 1003000, 20),
              "20 runs took 16 min 43 s: 642 s (64 %) in measuring windows; warm-up 107 s, "
              "pictures 150 s, setting tests up 31 s, starting 12 s, the rest 61 s (processes "
              "starting and ending, files)");
    EXPECT_NE(TimeSpentLine({0, 0, 100, 50000, 0, 0}, 60000, 2).find(", 50 s replaying them;"),
              std::string::npos);
}
