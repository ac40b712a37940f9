#include "Support.h"

#include "SourceBitmap.h"
#include "Workloads.h"

namespace {

class Core : public Fresh {
  protected:
    void SetUp() override {
        Fresh::SetUp();
        Bench.MainWindow = fake::AddWindow("QuenzelForm", "Norvale Quenzel");
        Bench.DrawDC = GetDC(Bench.MainWindow);
        Bench.SourceDC = CreateCompatibleDC(nullptr);
        Bench.ScreenWidth = 800;
        Bench.ScreenHeight = 600;
    }
};

// The desktop's LCG and the handheld's MT19937 (first word 2357136044) from their
// fixed start; every draw takes one step, whatever the bound.
TEST_F(Core, GeneratorsStartFromTheirFixedState) {
    const Args drawn = {RandomInt(256), RandomInt(256),  RandomInt(256),
                        RandomInt(0),   RandomInt(1000), RandomInt(1)};
    EXPECT_EQ(drawn, (kHandheld ? Args{140, 151, 183, 0, 602, 0} : Args{0, 8, 220, 0, 272, 0}));
    EXPECT_EQ(DrawsTaken(), 6);
    if (kHandheld) { // a negative bound takes the signed product of n + 1
        RandomReset();
        EXPECT_EQ((Args{RandomInt(-256), RandomInt(-1)}), (Args{-140, 0}));
    }
}

// Each workload's first call on 800 x 600 from a fresh start: the primitive's
// arguments after the DC (the source DC as 0), then the pen's, then the text.
TEST_F(Core, FirstCallsOfEachWorkload) {
    const char *calls[] = {"SetPixel", "LineTo", "Rectangle", "RoundRect", "Ellipse", "BitBlt"};
    const std::vector<Args> desktop = {{0, 18, 0xdc3345},
                                       {688, 121, 0, 2, 0x45ab51},
                                       {0, 18, 688, 121, 0, 1, 0x295f6c},
                                       {0, 18, 688, 121, 93, 34, 1, 1, 0x6c1479},
                                       {0, 18, 688, 121, 0, 1, 0x295f6c},
                                       {0, 18, 30, 321, 0, 688, 121, SRCCOPY}};
    const std::vector<Args> handheld = {{439, 355, 0xb7d89a},
                                        {572, 506, 0, 13, 0x9adb8b},
                                        {439, 355, 572, 506, 0, 10, 0xd86c9f},
                                        {439, 355, 572, 506, 39, 64, 0, 7, 0x9fa562},
                                        {439, 355, 572, 506, 0, 10, 0xd86c9f},
                                        {439, 355, 137, 80, 0, 572, 506, SRCCOPY}};
    for (int test = 1; test <= TEST_COUNT; test++) {
        RandomReset();
        fake::Log.clear();
        TestTable[test].Proc();
        if (test == 7) {
            break;
        }
        const Args call = Calls(calls[test - 1]).at(0);
        Args got(call.begin() + 1, call.end());
        std::replace(got.begin(), got.end(), N(Bench.SourceDC), intptr_t{0});
        for (const Args &pen : Calls("CreatePen")) {
            got.insert(got.end(), pen.begin(), pen.end());
        }
        EXPECT_EQ(got, (kHandheld ? handheld : desktop)[test - 1]) << calls[test - 1];
    }
    EXPECT_EQ(Texts(),
              std::vector<std::string>{kHandheld ? "{ 439, 355, 2, 439, 355, 697, 371 } u%|"
                                                 : "{ 0, 18, 2, 0, 18, 688, 34 } %<xCj?b"});
    EXPECT_EQ(Calls("CreateFontIndirect")[0], (Args{0, 0, 0, 0, kHandheld ? 844 : 202, kHandheld, 1,
                                                    kHandheld, 1, 0, 0, PROOF_QUALITY, 0, 0}));
    EXPECT_EQ((Args{Calls("SetBkColor")[0][1], Calls("SetTextColor")[0][1]}),
              (kHandheld ? Args{0xd86c9f, 0xa56270} : Args{0x295f6c, 0x147912}));
}

// Every workload, 200 calls on a full and on a tiny area: a fixed number of draws a
// call (text: 14 and one per character, 1 to 8 of them), nothing left alive, the DC
// as found; recorded, then replayed, from a generator state saved mid-sequence and
// restored, it makes the very same calls, and the replay takes nothing from the
// generator.
TEST_F(Core, EveryCallKeepsTheSequenceAndTheObjects) {
    const int draws[] = {0, 5, 9, 12, 14, 12, 6, 14};
    const Args fresh = fake::Objects[Bench.DrawDC].dc;
    std::vector<INT> tape(200 * MAX_DRAWS_PER_CALL);
    DrawTape = tape.data();
    for (const int width : {800, 4}) {
        Bench.ScreenWidth = width;
        Bench.ScreenHeight = width * 3 / 4;
        for (int test = 1; test <= TEST_COUNT; test++) {
            std::vector<std::string> made[3];
            RandomReset();
            for (int i = 0; i < 37; i++) {
                RandomInt(2);
            }
            const RandomState start = RandomSaved();
            for (int run = 0; run < 3; run++) {
                RandomRestore(start);
                DrawTapeAt = 0;
                fake::Log.clear();
                for (int i = 0; i < 200; i++) {
                    (run == 0 ? TestTable[test].Proc
                              : (run == 1 ? RecordProcs : ReplayProcs)[test])();
                }
                for (const fake::Call &call : fake::Log) { // created objects' handles differ
                    if (call.fn != "SelectObject" && call.fn != "DeleteObject") {
                        made[run].push_back(call.fn + testing::PrintToString(call.args) +
                                            call.text);
                    }
                }
            }
            int expected = 200 * draws[test];
            for (const fake::Call &call : fake::Log) {
                expected += static_cast<int>(call.text.size());
                EXPECT_LE(call.text.size(), call.fn == "ExtTextOut" ? 8u : 0u);
            }
            for (const Args &font : Calls("CreateFontIndirect")) { // weight and the three flags
                EXPECT_TRUE(font[4] < 1000 && font[5] <= 1 && font[6] <= 1 && font[7] <= 1);
            }
            EXPECT_EQ(DrawTapeAt, size_t(expected)) << "the replay read what was recorded";
            EXPECT_EQ(DrawsTaken(), 37) << "the replay draws nothing";
            EXPECT_TRUE(made[1] == made[0] && made[2] == made[0]) << test;
            EXPECT_EQ(fake::Live(fake::Pen) + fake::Live(fake::Brush) + fake::Live(fake::Font), 0);
            EXPECT_EQ(fake::Objects[Bench.DrawDC].dc, fresh);
        }
    }
}

// Calls back to back until more than 10000 ms have passed on the tick counter (also
// across its wrap), count div 10 as the score, at time-critical priority only
// around the timed window.
TEST_F(Core, RunTestScoresTheCallsInItsWindow) {
    const std::vector<uint64_t> cases[] = {
        // clock start, ms per reading (num / den), calls
        {0, 10001, 1, 1},         {0, 10001, 9, 9},         {0, 10001, 20, 20},
        {0, 10001, 995, 995},     {0, 1000, 1, 11},         {5, 25000, 1, 1},
        {0xFFFFFFFF, 700, 1, 15}, {0xFFFFD8F0, 700, 1, 15}, {0x7FFFFFFF, 700, 1, 15}};
    for (const std::vector<uint64_t> &c : cases) {
        SetClock(c[0], c[1], c[2]);
        fake::Log.clear();
        Bench.StepIndex = 3;
        Bench.TestResults[2] = Bench.TestResults[4] = 77;
        RunTest();
        EXPECT_EQ((Args{N(Calls("Rectangle").size()), N(Calls("GetTickCount").size()),
                        Bench.TestResults[3], Bench.TestResults[2] + Bench.TestResults[4]}),
                  (Args{N(c[3]), N(c[3]) + 1, N(c[3]) / 10, 154}));
    }
    const intptr_t thread = N(GetCurrentThread());
    EXPECT_EQ(Calls("SetThreadPriority"),
              (std::vector<Args>{{thread, THREAD_PRIORITY_TIME_CRITICAL},
                                 {thread, THREAD_PRIORITY_NORMAL}}));
    EXPECT_EQ(fake::Log[1].fn, "SetThreadPriority") << "raised before the clock is first read";
    EXPECT_EQ(fake::Log.back().fn, "ReleaseDC");
    EXPECT_EQ(fake::Live(fake::Dc), 2) << "the window's DC given back";
}

// One pen line per row across the whole width, each row's colour three draws, the
// top row the flavour's first colour, on a bitmap compatible with the screen (the
// memory DC's own would be monochrome); released, nothing is left.
TEST_F(Core, SourceBitmapHasOneRandomStripePerRow) {
    Bench.ScreenWidth = 7;
    Bench.ScreenHeight = 5;
    fake::Log.clear();
    SetupSourceBitmap();
    EXPECT_EQ(DrawsTaken(), 15);
    const std::vector<Args> pens = Calls("CreatePen");
    EXPECT_EQ(
        (Args{pens[0][0], pens[0][1], pens[0][2], pens[1][2], N(pens.size())}),
        (Args{PS_SOLID, 1, kHandheld ? 0x8c97b7 : 0x8dc, kHandheld ? 0xd89adb : 0x3345ab, 5}));
    EXPECT_EQ(Calls("MoveToEx")[4], (Args{N(Bench.SourceDC), 0, 4, 0}));
    EXPECT_EQ(Calls("LineTo")[4], (Args{N(Bench.SourceDC), 6, 4}));
    EXPECT_EQ(Calls("CreateCompatibleBitmap")[0], (Args{Calls("CreateCompatibleDC")[0][0], 7, 5}));
    EXPECT_EQ(fake::Objects[Bench.SourceDC].dc[fake::Bitmap], N(Bench.SourceBitmap));
    EXPECT_EQ(fake::Live(fake::Pen) + fake::Live(fake::Dc), 3);
    ReleaseSourceBitmap();
    EXPECT_EQ(fake::Live(fake::Bitmap) + fake::Live(fake::Dc), 2);
}

} // namespace
