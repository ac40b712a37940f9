#include "Support.h"

namespace {

class Runner : public Fresh {
  protected:
    void SetUp() override {
        Fresh::SetUp();
        Bench.ScreenWidth = 64;
        Bench.ScreenHeight = 48;
        Bench.MainWindow = fake::AddWindow("QuenzelForm", "Norvale Quenzel");
        Bench.SourceDC = CreateCompatibleDC(nullptr);
        fake::Log.clear();
    }

    static int Count(const std::string &fn) {
        int count = 0;
        for (const fake::Call &call : fake::Log) {
            count += call.fn == fn;
        }
        return count;
    }
};

// Tick readings that put exactly `calls` workload calls into the window: reading k
// (after call k) is floor(k * 10001 / calls), which first exceeds 10000 at k = calls.
class Thresholds : public Runner, public ::testing::WithParamInterface<int> {};

TEST_P(Thresholds, ScoreIsCallsDivTen) {
    const int calls = GetParam();
    fake::SetClock(0, 10001, calls);
    Bench.StepIndex = 1;
    RunTest();
    EXPECT_EQ(Count("SetPixel"), calls);
    EXPECT_EQ(fake::ClockReadings(), calls + 1) << "one reading per call and one at the start";
    EXPECT_EQ(Bench.TestResults[1], calls / 10);
}

INSTANTIATE_TEST_SUITE_P(Counts, Thresholds, ::testing::Values(1, 9, 10, 19, 20, 995, 5000));

TEST_F(Runner, ExactlyTenSecondsAtACheckLeadsToOneMoreCall) {
    fake::SetClock(0, 1000); // checks at 1000, 2000, ..., 10000, 11000
    Bench.StepIndex = 1;
    RunTest();
    EXPECT_EQ(Count("SetPixel"), 11);
    EXPECT_EQ(Bench.TestResults[1], 1);
}

TEST_F(Runner, ACallSlowerThanTheWholeWindowScoresZero) {
    fake::SetClock(5, 25000);
    Bench.StepIndex = 2;
    RunTest();
    EXPECT_EQ(Count("LineTo"), 1);
    EXPECT_EQ(Bench.TestResults[2], 0);
}

TEST_F(Runner, TickCounterWrappingDuringTheWindow) {
    for (DWORD start : {0xFFFFFFFFu, 0xFFFFF000u, 0xFFFFD8F0u, 0x7FFFFFFFu, 0u}) {
        fake::Reset();
        Bench.MainWindow = fake::AddWindow("QuenzelForm", "Norvale Quenzel");
        fake::SetClock(start, 700); // 15 checks to pass 10000
        Bench.StepIndex = 1;
        RunTest();
        EXPECT_EQ(Count("SetPixel"), 15) << start;
        EXPECT_EQ(Bench.TestResults[1], 1) << start;
    }
}

TEST_F(Runner, RunsOnlyTheDueTestAndWritesOnlyItsScore) {
    for (int i = 1; i <= TEST_COUNT; i++) {
        Bench.TestResults[i] = 1000 + i;
    }
    fake::SetClock(0, 10001, 25);
    Bench.StepIndex = 3;
    RunTest();
    EXPECT_EQ(Count("Rectangle"), 25);
    for (const char *other : {"SetPixel", "LineTo", "RoundRect", "Ellipse", "BitBlt", kTextOut}) {
        EXPECT_EQ(Count(other), 0) << other;
    }
    for (int i = 1; i <= TEST_COUNT; i++) {
        EXPECT_EQ(Bench.TestResults[i], i == 3 ? 2 : 1000 + i) << i;
    }
    EXPECT_EQ(Bench.StepIndex, 3);
}

TEST_F(Runner, PriorityAndDeviceContextStayOutsideTheWindow) {
    fake::SetClock(0, 10001, 3);
    Bench.StepIndex = 6;
    int scoreWhenLowered = -1;
    fake::OnCall = [&](const fake::Call &call) {
        if (call.fn == "SetThreadPriority" && call.args[1] == kNormal) {
            scoreWhenLowered = Bench.TestResults[6];
        }
    };
    Bench.TestResults[6] = -7;
    RunTest();

    Reader r;
    const intptr_t dc = r.Next("GetDC", {H(Bench.MainWindow)}).ret;
    r.Find("SetThreadPriority");
    EXPECT_EQ(fake::Log[r.Pos() - 1].args, (Args{kCurrentThread, kTimeCritical}));
    r.Next("GetTickCount", {}); // the start, read after the priority is raised
    for (int call = 0; call < 3; call++) {
        const fake::Call &blt = r.Find("BitBlt");
        EXPECT_EQ(blt.args[0], dc);
        EXPECT_EQ(blt.args[5], H(Bench.SourceDC));
        r.Next("GetTickCount", {});
    }
    r.Find("SetThreadPriority");
    EXPECT_EQ(fake::Log[r.Pos() - 1].args, (Args{kCurrentThread, kNormal}));
    r.Next("ReleaseDC", {H(Bench.MainWindow), dc});
    EXPECT_TRUE(r.AtEnd());
    EXPECT_EQ(scoreWhenLowered, 0) << "the score is stored before the priority is lowered";
    EXPECT_EQ(fake::Live(fake::Dc), 1) << "only the source DC remains";
}

} // namespace
