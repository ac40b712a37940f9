#include "Support.h"

#include "Workloads.h"

namespace {

using Core = Fresh;

// The desktop's LCG and the handheld's MT19937 (first word 2357136044) from their
// fixed start; every draw takes one step, whatever the bound.
TEST_F(Core, GeneratorsStartFromTheirFixedState) {
    const Ints drawn = {RandomInt(256), RandomInt(256),  RandomInt(256),
                        RandomInt(0),   RandomInt(1000), RandomInt(1)};
    EXPECT_EQ(drawn, (kHandheld ? Ints{140, 151, 183, 0, 602, 0} : Ints{0, 8, 220, 0, 272, 0}));
    EXPECT_EQ(DrawsTaken(), 6);
    if (kHandheld) { // a negative bound takes the signed product of n + 1
        RandomReset();
        EXPECT_EQ((Ints{RandomInt(-256), RandomInt(-1)}), (Ints{-140, 0}));
    }
}

// The first shape of each workload from a fresh start, read back where and in the
// colours its recorded draws say: a colour is three draws, blue, green, red; a shape's
// brush comes before its pen.
TEST_F(Core, FirstShapeOfEachWorkload) {
    Source();
    INT t[MAX_DRAWS_PER_CALL];
    const auto colour = [&t](int at) { return RGB(t[at + 2], t[at + 1], t[at]); };
    const HDC dc = AreaDC;
    for (int test = 1; test <= TEST_COUNT; test++) {
        SCOPED_TRACE(TestTable[test].Name);
        PaintWhite(dc);
        RandomReset();
        DrawTape = t;
        DrawTapeAt = 0;
        RecordProcs[test]();
        const int middleX = (t[0] + t[2]) / 2;
        const int brush = test == 4 ? 6 : 4; // after the round corners' two draws
        switch (test) {
        case 1:
            EXPECT_PIXEL(dc, t[0], t[1], colour(2));
            break;
        case 2: // the pen's colour where the line starts
            EXPECT_PIXEL(dc, t[0], t[1], colour(4));
            break;
        case 3:
        case 4:
        case 5: // brush inside, pen on the top edge, the corner square or round
            EXPECT_PIXEL(dc, middleX, (t[1] + t[3]) / 2, colour(brush));
            EXPECT_PIXEL(dc, middleX, t[1], colour(brush + 3));
            EXPECT_PIXEL(dc, t[0], t[1], test == 3 ? colour(brush + 3) : kWhite);
            break;
        case 6: // the block's first and last pixel from the source, nothing beyond it
            EXPECT_PIXEL(dc, t[0], t[1], GetPixel(Bench.SourceDC, t[2], t[3]));
            EXPECT_PIXEL(dc, t[0] + t[4] - 1, t[1] + t[5] - 1,
                         GetPixel(Bench.SourceDC, t[2] + t[4] - 1, t[3] + t[5] - 1));
            EXPECT_PIXEL(dc, t[0] + t[4], t[1], kWhite);
            break;
        case 7: // the rectangle's far corner in the background colour, beyond it white
            EXPECT_PIXEL(dc, t[0] + t[2] - 1, t[1] + 15, colour(7));
            EXPECT_PIXEL(dc, t[0] + t[2], t[1], kWhite);
            break;
        }
    }
}

// Every workload, many calls on a full and on a tiny area from a generator state
// saved mid-sequence: drawing live, recording and replaying give the very same
// pixels; a call takes a fixed number of draws (text: 14, then 1 to 8 characters in
// 32 to 127), the replay none; the DC is left as found and no GDI object alive.
TEST_F(Core, RecordAndReplayDrawTheSameAndLeaveNothing) {
    Source();
    const int draws[] = {0, 5, 9, 12, 14, 12, 6, 14};
    std::vector<INT> tape(2000 * MAX_DRAWS_PER_CALL);
    DrawTape = tape.data();
    const auto dcState = [this] {
        const HDC dc = AreaDC;
        return std::vector<INT_PTR>{INT_PTR(GetCurrentObject(dc, OBJ_PEN)),
                                    INT_PTR(GetCurrentObject(dc, OBJ_BRUSH)),
                                    INT_PTR(GetCurrentObject(dc, OBJ_FONT)),
                                    INT_PTR(GetCurrentObject(dc, OBJ_BITMAP)),
                                    INT_PTR(GetTextColor(dc)),
                                    INT_PTR(GetBkColor(dc)),
                                    GetBkMode(dc),
                                    INT_PTR(GetTextAlign(dc))};
    };
    for (const int width : {64, 4}) {
        NewArea(width, width * 3 / 4);
        const int calls = width == 4 ? 2000 : 200;
        for (int test = 1; test <= TEST_COUNT; test++) {
            SCOPED_TRACE(testing::Message() << TestTable[test].Name << " on width " << width);
            RandomReset();
            for (int i = 0; i < 37; i++) {
                RandomInt(2);
            }
            const RandomState start = RandomSaved();
            const std::vector<INT_PTR> found = dcState();
            const int room = GdiRoom();
            std::vector<DWORD> drawn[3];
            size_t read[3];
            for (int run = 0; run < 3; run++) {
                PaintWhite(AreaDC);
                RandomRestore(start);
                DrawTapeAt = 0;
                const TestProc proc =
                    run == 0 ? TestTable[test].Proc : (run == 1 ? RecordProcs : ReplayProcs)[test];
                for (int i = 0; i < calls; i++) {
                    proc();
                }
                drawn[run] = Pixels();
                read[run] = DrawTapeAt;
            }
            size_t expected = 0;
            for (int i = 0; i < calls; i++) {
                expected += draws[test];
                if (test == 7) { // the length less one, then the characters
                    const int length = tape[expected - 1] + 1;
                    EXPECT_TRUE(length <= 8 &&
                                std::all_of(&tape[expected], &tape[expected + length],
                                            [](INT c) { return c < 96; }));
                    expected += length;
                }
            }
            EXPECT_EQ(read[1], expected);
            EXPECT_EQ(read[2], expected) << "the replay reads what was recorded";
            EXPECT_EQ(DrawsTaken(), 37) << "the replay draws nothing";
            // Wine's round shapes with wide pens vary by a few pixels between identical
            // calls on an area where they fit; on the tiny one they are exact.
            if (width == 4 || (test != 4 && test != 5)) {
                EXPECT_TRUE(drawn[1] == drawn[0] && drawn[2] == drawn[0]) << "the same pixels";
            }
            EXPECT_EQ(dcState(), found);
            EXPECT_EQ(GdiRoom(), room) << "objects left alive";
        }
    }
}

// One stripe a row, its colour three draws, top row first, on a bitmap of the
// screen's depth (one compatible with the memory DC would be monochrome); LineTo
// leaves out its end pixel, so the last column stays black, and BitBlt never copies
// it. Released, nothing is left.
TEST_F(Core, SourceBitmapHasOneStripePerRow) {
    const int room = GdiRoom();
    Bench.ScreenWidth = 7;
    Bench.ScreenHeight = 5;
    Source();
    EXPECT_EQ(GdiRoom(), room - 2) << "the bitmap and its DC";
    for (int y = 0; y < 5; y++) {
        const COLORREF stripe = RandomColor();
        for (int x = 0; x < 7; x++) {
            EXPECT_PIXEL(Bench.SourceDC, x, y, x < 6 ? stripe : RGB(0, 0, 0));
        }
    }
    EXPECT_EQ(DrawsTaken(), 15);
    ReleaseSourceBitmap();
    Bench.SourceDC = nullptr;
    EXPECT_EQ(GdiRoom(), room);
}

// Reading i (from 0) is Start + i * Num / Den, modulo 2^32; each notes whether the
// thread ran at time-critical priority then.
struct TestClock {
    static inline uint64_t Start, Num, Den, Readings;
    static inline bool AllTimeCritical;
    static DWORD Now() {
        AllTimeCritical &= GetThreadPriority(GetCurrentThread()) == 15; // the desktop's value
        return static_cast<DWORD>(Start + Readings++ * Num / Den);
    }
};

// Calls back to back until more than 10000 ms have passed on the clock (also across
// its wrap), count div 10 as the score, at time-critical priority around the window.
TEST_F(Core, RunTestScoresTheCallsInItsWindow) {
    const std::vector<uint64_t> cases[] = {
        // clock start, ms per reading (num / den), calls
        {0, 10001, 1, 1},         {0, 10001, 9, 9},         {0, 10001, 20, 20},
        {0, 10001, 995, 995},     {0, 1000, 1, 11},         {5, 25000, 1, 1},
        {0xFFFFFFFF, 700, 1, 15}, {0xFFFFD8F0, 700, 1, 15}, {0x7FFFFFFF, 700, 1, 15}};
    for (const std::vector<uint64_t> &c : cases) {
        TestClock::Start = c[0];
        TestClock::Num = c[1];
        TestClock::Den = c[2];
        TestClock::Readings = 0;
        TestClock::AllTimeCritical = true;
        RandomReset();
        Bench.StepIndex = 1; // Pixel: 5 draws a call
        Bench.TestResults[0] = Bench.TestResults[2] = 77;
        RunTestOn<TestClock>();
        const int calls = static_cast<int>(c[3]);
        EXPECT_EQ((Ints{DrawsTaken(), int(TestClock::Readings), Bench.TestResults[1],
                        Bench.TestResults[0] + Bench.TestResults[2], TestClock::AllTimeCritical,
                        GetThreadPriority(GetCurrentThread())}),
                  (Ints{5 * calls, calls + 1, calls / 10, 154, true, 0}))
            << "clock from " << c[0] << " by " << c[1] << "/" << c[2];
    }
}

} // namespace
