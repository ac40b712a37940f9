// The core on the real Win32: pixels read back from a DIB section, the DC's state and
// the GDI objects alive, the generators and the timed loop on a clock of known readings.
#include "Bench.h"
#include "GdiRoom.h"
#include "Display.h"
#include "Random.h"
#include "SourceBitmap.h"
#include "Workloads.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The desktop's own call: the handheld's CE pseudo-handle means nothing to it.
#undef GetCurrentThread

using Ints = std::vector<INT>;
constexpr bool kHandheld = sizeof(TCHAR) == 2; // the handheld passes UTF-16 text
constexpr COLORREF kWhite = RGB(255, 255, 255);

// A failure names the pixel, the colour found and the colour expected.
#define EXPECT_PIXEL(dc, x, y, colour)                                                             \
    EXPECT_EQ(GetPixel(dc, x, y), COLORREF(colour)) << "pixel (" << (x) << ", " << (y) << ")"

// Zeroed state, the generator at its start, a white 800 x 600 DIB section to draw on.
class Core : public ::testing::Test {
  protected:
    void SetUp() override {
        Bench = BenchState{};
        RandomReset();
        Bench.DrawDC = AreaDC = CreateCompatibleDC(nullptr);
        NewArea(800, 600);
    }
    void TearDown() override {
        if (Bench.SourceDC != nullptr) {
            ReleaseSourceBitmap();
        }
        DeleteObject(SelectObject(AreaDC, OldBitmap));
        DeleteDC(AreaDC);
    }
    // BitBlt's source, built as at start-up; the generator back at its start.
    void Source() {
        SetupSourceBitmap();
        Bench.DrawDC = AreaDC;
        RandomReset();
    }
    // A new white drawing area of that size; Bits are its pixels, top row first.
    void NewArea(INT width, INT height) {
        BITMAPINFO info = {{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0},
                           {}};
        void *bits;
        const HGDIOBJ old = SelectObject(
            AreaDC, CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        OldBitmap == nullptr ? void(OldBitmap = old) : void(DeleteObject(old)); // ours
        Bits = static_cast<const DWORD *>(bits);
        Bench.ScreenWidth = width;
        Bench.ScreenHeight = height;
        PaintWhite(AreaDC);
    }
    // How many draws the generator has made since its start.
    static int DrawsTaken() {
        const int probe = RandomInt(0x7fffffff);
        RandomReset();
        int taken = 0;
        for (; taken < 100000 && RandomInt(0x7fffffff) != probe; taken++) {
        }
        return taken;
    }
    HDC AreaDC;
    const DWORD *Bits = nullptr;
    HGDIOBJ OldBitmap = nullptr;
};

// The desktop's LCG and the handheld's MT19937 (first word 2357136044) from their
// fixed start; every draw takes one step, whatever the bound; a negative bound is read
// as unsigned on the desktop, as n + 1 in a signed product on the handheld.
TEST_F(Core, GeneratorsStartFromTheirFixedState) {
    const Ints drawn = {INT(RandomColor()), RandomInt(0),    RandomInt(1000), // blue, green, red
                        RandomInt(1),       RandomInt(-256), RandomInt(-1)};
    EXPECT_EQ(drawn, (kHandheld ? Ints{INT(RGB(183, 151, 140)), 0, 602, 0, -139, 0}
                                : Ints{INT(RGB(220, 8, 0)), 0, 272, 0, 1368768505, 694906231}));
    EXPECT_EQ(DrawsTaken(), 8);
}

// The first shape of each workload from a fresh start, read back where and in the
// colours its recorded draws say: a colour is three draws, blue, green, red; a shape's
// brush comes before its pen.
TEST_F(Core, FirstShapeOfEachWorkload) {
    Source();
    INT t[MAX_DRAWS_PER_CALL] = {};
    const auto colour = [&t](int at) { return RGB(t[at + 2], t[at + 1], t[at]); };
    for (int test = 1; test <= TEST_COUNT; test++) {
        SCOPED_TRACE(TestTable[test].Name);
        PaintWhite(AreaDC);
        RandomReset();
        DrawTape = t;
        DrawTapeAt = 0;
        RecordProcs[test]();
        RandomReset(); // round corners: each ellipse at most half the side (draws 5 and 6)
        std::for_each(t, t + 4, [](INT) { RandomInt(1); });
        EXPECT_TRUE(test != 4 || (t[4] == RandomInt(abs(t[0] - t[2]) / 2) &&
                                  t[5] == RandomInt(abs(t[1] - t[3]) / 2)));
        const int middleX = (t[0] + t[2]) / 2, brush = test == 4 ? 6 : 4; // after the corners
        if (test <= 2) { // the pixel's colour, or the pen's where the line starts
            EXPECT_PIXEL(AreaDC, t[0], t[1], colour(test == 1 ? 2 : 4));
        } else if (test <= 5) { // brush inside, pen on the top edge, the corner square or round
            EXPECT_PIXEL(AreaDC, middleX, (t[1] + t[3]) / 2, colour(brush));
            EXPECT_PIXEL(AreaDC, middleX, t[1], colour(brush + 3));
            EXPECT_PIXEL(AreaDC, t[0], t[1], test == 3 ? colour(brush + 3) : kWhite);
        } else if (test == 6) { // the block's first and last pixel from the source, none beyond
            EXPECT_PIXEL(AreaDC, t[0], t[1], GetPixel(Bench.SourceDC, t[2], t[3]));
            EXPECT_PIXEL(AreaDC, t[0] + t[4] - 1, t[1] + t[5] - 1,
                         GetPixel(Bench.SourceDC, t[2] + t[4] - 1, t[3] + t[5] - 1));
            EXPECT_PIXEL(AreaDC, t[0] + t[4], t[1], kWhite);
        } else { // the rectangle's far corner in the background colour, beyond it white
            EXPECT_PIXEL(AreaDC, t[0] + t[2] - 1, t[1] + 15, colour(7));
            EXPECT_PIXEL(AreaDC, t[0] + t[2], t[1], kWhite);
        }
    }
}

// Every workload, many calls on a small and on a tiny area from a generator state
// saved mid-sequence: drawing live, recording and replaying give the very same
// pixels; a call takes a fixed number of draws (text: 14, then 1 to 8 characters), the
// replay none; the DC is left as found and no GDI object alive.
TEST_F(Core, RecordAndReplayDrawTheSameAndLeaveNothing) {
    Source();
    const int draws[] = {0, 5, 9, 12, 14, 12, 6, 14};
    std::vector<INT> tape(2000 * MAX_DRAWS_PER_CALL);
    DrawTape = tape.data();
    const auto dcState = [this] {
        std::vector<INT_PTR> state = {INT_PTR(GetTextColor(AreaDC)), INT_PTR(GetBkColor(AreaDC)),
                                      GetBkMode(AreaDC), INT_PTR(GetTextAlign(AreaDC))};
        for (const UINT type : {OBJ_PEN, OBJ_BRUSH, OBJ_FONT, OBJ_BITMAP}) {
            state.push_back(INT_PTR(GetCurrentObject(AreaDC, type)));
        }
        return state;
    };
    for (const int width : {64, 4}) {
        NewArea(width, width * 3 / 4);
        const int calls = width == 4 ? 2000 : 200;
        for (int test = 1; test <= TEST_COUNT; test++) {
            SCOPED_TRACE(testing::Message() << TestTable[test].Name << " on width " << width);
            RandomReset();
            std::for_each(tape.begin(), tape.begin() + 37, [](INT) { RandomInt(2); });
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
                GdiFlush();
                drawn[run].assign(Bits, Bits + width * Bench.ScreenHeight);
                read[run] = DrawTapeAt;
            }
            size_t expected = 0;
            for (int i = 0; i < calls; i++) { // text: italic, underline, strike-out yes or no,
                const int more = test == 7 ? tape[expected + 13] + 1 : 0; // 1 to 8 characters
                EXPECT_TRUE(more <= 8 &&
                            (test != 7 || std::max({tape[expected + 4], tape[expected + 5],
                                                    tape[expected + 6]}) <= 1));
                expected += draws[test] + more;
            }
            EXPECT_TRUE(read[1] == expected && read[2] == expected) << "what was recorded";
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

// One stripe a row, its colour three draws, top row first, on a bitmap of the screen's
// depth; LineTo leaves out its end pixel, so the last column stays black and BitBlt
// never copies it. Released, nothing is left.
TEST_F(Core, SourceBitmapHasOneStripePerRow) {
    const int room = GdiRoom();
    NewArea(7, 5);
    Source();
    EXPECT_EQ(GdiRoom(), room - 2) << "the bitmap and its DC";
    for (COLORREF at = 0, stripe = 0; at < 35; at++) { // row by row
        stripe = at % 7 == 0 ? RandomColor() : stripe;
        EXPECT_PIXEL(Bench.SourceDC, at % 7, at / 7, at % 7 < 6 ? stripe : RGB(0, 0, 0));
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
        std::tie(TestClock::Start, TestClock::Num, TestClock::Den) = std::tie(c[0], c[1], c[2]);
        TestClock::Readings = 0;
        TestClock::AllTimeCritical = true;
        RandomReset();
        Bench.StepIndex = 1; // Pixel: 5 draws a call
        RunTestOn<TestClock>();
        EXPECT_EQ((Ints{DrawsTaken(), int(TestClock::Readings), Bench.TestResults[1],
                        TestClock::AllTimeCritical, GetThreadPriority(GetCurrentThread())}),
                  (Ints{5 * int(c[3]), int(c[3]) + 1, int(c[3]) / 10, true, 0}))
            << "clock from " << c[0] << " by " << c[1] << "/" << c[2];
    }
}

} // namespace
