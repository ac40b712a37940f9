#include "Support.h"

#include "Workloads.h"

#include <cstdlib>
#include <set>

namespace {

// Each replays one call's draws from the generator, in the order the workload must
// take them, and checks the platform calls the workload made with them.
using Expectation = void (*)(Reader &, intptr_t dc, intptr_t source);

int R(int n) {
    return RandomInt(n);
}
int SW() {
    return Bench.ScreenWidth;
}
int SH() {
    return Bench.ScreenHeight;
}

// A random pen: colour, width 0..15, style 0..1. Returns the pen created.
intptr_t ExpectPen(Reader &r) {
    const intptr_t color = DrawColor();
    const int width = R(16);
    const int style = R(2);
    return r.Next("CreatePen", {style, width, color}).ret;
}

void ExpectPixel(Reader &r, intptr_t dc, intptr_t) {
    const int x = R(SW());
    const int y = R(SH());
    r.Next("SetPixel", {dc, x, y, DrawColor()});
}

void ExpectLine(Reader &r, intptr_t dc, intptr_t) {
    const int x1 = R(SW()), y1 = R(SH()), x2 = R(SW()), y2 = R(SH());
    const intptr_t pen = ExpectPen(r);
    const intptr_t old = r.Next("SelectObject", {dc, pen}).ret;
    r.Next("MoveToEx", {dc, x1, y1, 0});
    r.Next("LineTo", {dc, x2, y2});
    r.Next("SelectObject", {dc, old});
    r.Next("DeleteObject", {pen});
}

void ExpectShape(Reader &r, intptr_t dc, const char *shape) {
    const int left = R(SW()), top = R(SH()), right = R(SW()), bottom = R(SH());
    Args args = {dc, left, top, right, bottom};
    if (std::string(shape) == "RoundRect") {
        const int width = R(std::abs(left - right) / 2);
        args.push_back(width);
        args.push_back(R(std::abs(top - bottom) / 2));
    }
    const intptr_t brush = r.Next("CreateSolidBrush", {DrawColor()}).ret;
    const intptr_t oldBrush = r.Next("SelectObject", {dc, brush}).ret;
    const intptr_t pen = ExpectPen(r);
    const intptr_t oldPen = r.Next("SelectObject", {dc, pen}).ret;
    r.Next(shape, args);
    r.Next("SelectObject", {dc, oldPen});
    r.Next("DeleteObject", {pen});
    r.Next("SelectObject", {dc, oldBrush});
    r.Next("DeleteObject", {brush});
}

void ExpectRectangle(Reader &r, intptr_t dc, intptr_t) {
    ExpectShape(r, dc, "Rectangle");
}
void ExpectRoundRect(Reader &r, intptr_t dc, intptr_t) {
    ExpectShape(r, dc, "RoundRect");
}
void ExpectEllipse(Reader &r, intptr_t dc, intptr_t) {
    ExpectShape(r, dc, "Ellipse");
}

void ExpectBitBlt(Reader &r, intptr_t dc, intptr_t source) {
    const int x = R(SW()), y = R(SH()), sourceX = R(SW()), sourceY = R(SH());
    const int width = R(SW() - std::max(x, sourceX));
    const int height = R(SH() - std::max(y, sourceY));
    r.Next("BitBlt", {dc, x, y, width, height, source, sourceX, sourceY, 0x00CC0020});
}

void ExpectTextOut(Reader &r, intptr_t dc, intptr_t) {
    const int left = R(SW()), top = R(SH());
    const int right = left + R(SW() - left);
    const int weight = R(1000), italic = R(2), underline = R(2), strikeOut = R(2);
    // Height, width, escapement, orientation 0; DEFAULT_CHARSET, default precisions,
    // PROOF_QUALITY, default pitch and family, no face name.
    const intptr_t font =
        r.Next(kCreateFont, {0, 0, 0, 0, weight, italic, underline, strikeOut, 1, 0, 0, 2, 0, 0})
            .ret;
    const intptr_t oldFont = r.Next("SelectObject", {dc, font}).ret;
    const intptr_t oldBk = r.Next("SetBkColor", {dc, DrawColor()}).ret;
    const intptr_t oldText = r.Next("SetTextColor", {dc, DrawColor()}).ret;
    const int length = R(8) + 1;
    std::string text;
    for (int i = 0; i < length; i++) {
        text += static_cast<char>(R(96) + 32);
    }
    const fake::Call &call =
        r.Next(kTextOut, {dc, left, top, 2, left, top, right, top + 16, length, 0});
    EXPECT_EQ(call.text, text);
    EXPECT_EQ(call.unit, kTextUnit);
    r.Next("SetBkColor", {dc, oldBk});
    r.Next("SetTextColor", {dc, oldText});
    r.Next("SelectObject", {dc, oldFont});
    r.Next("DeleteObject", {font});
}

struct Case {
    INT index;
    const char *name;
    TestProc proc;
    Expectation expect;
    int draws; // per call; 0 where it varies
};

const Case kCases[] = {
    {1, "Pixel", TestPixel, ExpectPixel, 5},
    {2, "Line", TestLine, ExpectLine, 9},
    {3, "Rectangle", TestRectangle, ExpectRectangle, 12},
    {4, "RoundRect", TestRoundRect, ExpectRoundRect, 14},
    {5, "Ellipse", TestEllipse, ExpectEllipse, 12},
    {6, "BitBlt", TestBitBlt, ExpectBitBlt, 6},
    {7, "TextOut", TestTextOut, ExpectTextOut, 0},
};

void PrintTo(const Case &c, std::ostream *out) {
    *out << c.name;
}

class Workload : public Fresh, public ::testing::WithParamInterface<Case> {
  protected:
    void Prepare(int width, int height) {
        Bench.ScreenWidth = width;
        Bench.ScreenHeight = height;
        Bench.MainWindow = fake::AddWindow("QuenzelForm", "Norvale Quenzel");
        Bench.DrawDC = GetDC(Bench.MainWindow);
        Bench.SourceDC = CreateCompatibleDC(Bench.DrawDC);
        fake::Log.clear();
    }

    // Runs the workload, then replays the same draws from the generator's start.
    void RunAndReplay(int calls) {
        const fake::DcState before = fake::State(Bench.DrawDC);
        for (int i = 0; i < calls; i++) {
            GetParam().proc();
        }
        const int next = RandomInt(0x7fffffff);
        RandomReset();
        Reader r;
        for (int i = 0; i < calls && !HasFailure(); i++) {
            GetParam().expect(r, H(Bench.DrawDC), H(Bench.SourceDC));
        }
        EXPECT_TRUE(r.AtEnd());
        EXPECT_EQ(RandomInt(0x7fffffff), next) << "a different number of draws";
        for (const fake::Call &call : fake::Log) {
            ASSERT_NE(call.fn, "WideCharToMultiByte") << "no text conversion in a workload";
        }

        // Nothing created is left alive, and the DC holds what it held before.
        EXPECT_EQ(fake::Live(fake::Pen), 0);
        EXPECT_EQ(fake::Live(fake::Brush), 0);
        EXPECT_EQ(fake::Live(fake::Font), 0);
        const fake::DcState after = fake::State(Bench.DrawDC);
        EXPECT_EQ(after.pen, before.pen);
        EXPECT_EQ(after.brush, before.brush);
        EXPECT_EQ(after.font, before.font);
        EXPECT_EQ(after.textColor, before.textColor);
        EXPECT_EQ(after.bkColor, before.bkColor);
        EXPECT_EQ(after.bkMode, before.bkMode);
        EXPECT_EQ(after.align, before.align);
    }
};

TEST_P(Workload, DrawsAndCallsInOrderOnAFullScreen) {
    Prepare(800, 600);
    RunAndReplay(500);
}

// A 3 x 3 area makes zero bounds frequent: RoundRect's corners, empty shapes,
// zero-sized copies and empty text rectangles.
TEST_P(Workload, DrawsAndCallsInOrderOnATinyArea) {
    Prepare(3, 3);
    RunAndReplay(500);
}

TEST_P(Workload, TakesAFixedNumberOfDrawsPerCall) {
    Prepare(640, 480);
    for (int i = 0; i < 20; i++) {
        RandomReset();
        for (int skip = 0; skip < i * 13; skip++) {
            RandomInt(1);
        }
        fake::Log.clear();
        GetParam().proc();
        int expected = GetParam().draws;
        if (expected == 0) { // TextOut: 14 draws plus one per character
            Reader r;
            expected = 14 + static_cast<int>(r.Find(kTextOut).text.size());
            EXPECT_GE(expected, 15);
            EXPECT_LE(expected, 22);
        }
        EXPECT_EQ(DrawsTaken(), i * 13 + expected);
    }
}

// Drawn ahead and replayed, a workload makes the very calls it makes live, and the
// replay takes nothing from the generator.
TEST_P(Workload, ReplayMakesTheRecordedCalls) {
    Prepare(200, 100);
    const INT index = GetParam().index;
    std::vector<INT> tape(50 * MAX_DRAWS_PER_CALL);
    DrawTape = tape.data();
    DrawTapeAt = 0;
    for (int i = 0; i < 50; i++) {
        RecordProcs[index]();
    }
    const size_t recorded = DrawTapeAt;
    const std::vector<fake::Call> live = fake::Log;
    const int next = RandomInt(0x7fffffff);

    RandomReset();
    for (int i = 0; i < 50; i++) {
        GetParam().proc();
    }
    EXPECT_EQ(RandomInt(0x7fffffff), next) << "recording draws as the live workload does";

    fake::Log.clear();
    DrawTapeAt = 0;
    RandomReset();
    for (int i = 0; i < 50; i++) {
        ReplayProcs[index]();
    }
    EXPECT_EQ(DrawTapeAt, recorded);
    EXPECT_EQ(DrawsTaken(), 0) << "the replay draws nothing";
    ASSERT_EQ(fake::Log.size(), live.size());
    for (size_t i = 0; i < live.size(); i++) {
        EXPECT_EQ(fake::Log[i].fn, live[i].fn) << i;
        // Created objects' handles differ between the two runs; nothing else does.
        if (live[i].fn != "SelectObject" && live[i].fn != "DeleteObject") {
            EXPECT_EQ(fake::Log[i].args, live[i].args) << live[i].fn;
        }
        EXPECT_EQ(fake::Log[i].text, live[i].text);
    }
}

INSTANTIATE_TEST_SUITE_P(AllSeven, Workload, ::testing::ValuesIn(kCases),
                         [](const auto &info) { return std::string(info.param.name); });

class Workloads : public Workload {};

TEST_F(Workloads, BlockCopiesNeverReachTheLastRowOrColumn) {
    Prepare(16, 9);
    for (int i = 0; i < 20000; i++) {
        TestBitBlt();
    }
    int zeroSized = 0;
    for (const fake::Call &call : fake::Log) {
        const intptr_t x = call.args[1], y = call.args[2], w = call.args[3], h = call.args[4];
        const intptr_t sx = call.args[6], sy = call.args[7];
        ASSERT_GE(w, 0);
        ASSERT_GE(h, 0);
        ASSERT_LE(std::max(x, sx) + w, 15);
        ASSERT_LE(std::max(y, sy) + h, 8);
        zeroSized += w == 0 || h == 0;
    }
    EXPECT_GT(zeroSized, 0);
}

TEST_F(Workloads, TextsHaveOneToEightCharactersOfCodes32To127) {
    Prepare(320, 240);
    for (int i = 0; i < 5000; i++) {
        TestTextOut();
    }
    std::set<size_t> lengths;
    int lowest = 255, highest = 0, emptyRects = 0;
    for (const fake::Call &call : fake::Log) {
        if (call.fn != kTextOut) {
            continue;
        }
        lengths.insert(call.text.size());
        EXPECT_EQ(static_cast<size_t>(call.args[8]), call.text.size());
        for (unsigned char c : call.text) {
            lowest = std::min<int>(lowest, c);
            highest = std::max<int>(highest, c);
        }
        const intptr_t left = call.args[4], top = call.args[5], right = call.args[6];
        EXPECT_LE(left, right);
        EXPECT_LE(right, 320);
        EXPECT_EQ(call.args[7], top + 16);
        emptyRects += left == right;
    }
    EXPECT_EQ(lengths, (std::set<size_t>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(lowest, 32);
    EXPECT_EQ(highest, 127);
    EXPECT_GT(emptyRects, 0);
}

TEST_F(Workloads, PensFontsAndColoursCoverTheirWholeRanges) {
    Prepare(100, 100);
    for (int i = 0; i < 5000; i++) {
        TestRectangle();
        TestTextOut();
    }
    std::set<intptr_t> widths, styles, bytes;
    intptr_t lightest = 1000, heaviest = -1;
    for (const fake::Call &call : fake::Log) {
        if (call.fn == "CreatePen") {
            styles.insert(call.args[0]);
            widths.insert(call.args[1]);
        } else if (call.fn == "CreateSolidBrush") {
            bytes.insert(call.args[0] & 0xff);
            EXPECT_EQ(call.args[0] >> 24, 0);
        } else if (call.fn == kCreateFont) {
            lightest = std::min(lightest, call.args[4]);
            heaviest = std::max(heaviest, call.args[4]);
        }
    }
    EXPECT_EQ(styles, (std::set<intptr_t>{PS_SOLID, PS_DASH}));
    EXPECT_EQ(widths.size(), 16u);
    EXPECT_EQ(*widths.begin(), 0);
    EXPECT_EQ(bytes.size(), 256u);
    EXPECT_GE(lightest, 0);
    EXPECT_LT(lightest, 5);
    EXPECT_LE(heaviest, 999);
    EXPECT_GT(heaviest, 994);
}

} // namespace
