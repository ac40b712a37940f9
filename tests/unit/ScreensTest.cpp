#include "Support.h"

#include "Screens.h"
#include "Services.h"

namespace {

#ifdef UNDER_CE
constexpr intptr_t kBold = 900;
constexpr intptr_t kTotalBottom = 204;
#else
constexpr intptr_t kBold = 700;
constexpr intptr_t kTotalBottom = 200;
#endif

Args Font(intptr_t height, intptr_t width) {
    return {height, width, 0, 0, kBold, 0, 0, 0, 1, 0, 0, 2, 0, 0};
}

// An ExtTextOut call's arguments: x, y, options, rectangle, length, no spacing.
Args TextArgs(intptr_t dc, intptr_t x, intptr_t y, intptr_t options, Args rect, size_t length) {
    Args args = {dc, x, y, options};
    args.insert(args.end(), rect.begin(), rect.end());
    args.push_back(static_cast<intptr_t>(length));
    args.push_back(0);
    return args;
}

class Screens : public Fresh {
  protected:
    void Paint(int index, int width = 800, int height = 600) {
        Bench.MainWindow = fake::AddWindow("QuenzelForm", "Norvale Quenzel");
        Bench.ScreenWidth = width;
        Bench.ScreenHeight = height;
        Bench.ScreenIndex = index;
        PaintScreen();
        EXPECT_EQ(fake::Live(fake::Font), 0);
        EXPECT_EQ(fake::Live(fake::Dc), 0);
    }

    // The texts drawn, in order.
    static std::vector<std::string> Texts() {
        std::vector<std::string> texts;
        for (const fake::Call &call : fake::Log) {
            if (call.fn == kTextOut) {
                EXPECT_EQ(call.unit, kTextUnit);
                texts.push_back(call.text);
            }
        }
        return texts;
    }

    // Checks a text and returns the call.
    static const fake::Call &Text(Reader &r, intptr_t dc, intptr_t x, intptr_t y, Args rect,
                                  const std::string &text, intptr_t options = ETO_OPAQUE) {
        const fake::Call &call = r.Next(kTextOut, TextArgs(dc, x, y, options, rect, text.size()));
        EXPECT_EQ(call.text, text);
        return call;
    }

    // A bold title centred across the top, its font put back and deleted and the
    // alignment reset after it. Returns the DC's own font.
    static intptr_t Title(Reader &r, intptr_t dc, intptr_t width, const std::string &text) {
        const intptr_t font = r.Next(kCreateFont, Font(0, 0)).ret;
        const intptr_t old = r.Next("SelectObject", {dc, font}).ret;
        r.Next("SetTextAlign", {dc, 6});
        Text(r, dc, width / 2, 8, {0, 8, width, 32}, text);
        r.Next("SelectObject", {dc, old});
        r.Next("DeleteObject", {font});
        r.Next("SetTextAlign", {dc, 0});
        return old;
    }
};

TEST_F(Screens, ClearPaintsTheWholeAreaWhite) {
    Bench.MainWindow = fake::AddWindow("QuenzelForm", "Norvale Quenzel");
    Bench.ScreenWidth = 640;
    Bench.ScreenHeight = 480;
    ClearScreen();
    Reader r;
    const intptr_t dc = r.Next("GetDC", {H(Bench.MainWindow)}).ret;
    const intptr_t brush = r.Next("CreateSolidBrush", {0xFFFFFF}).ret;
    r.Next("FillRect", {dc, 0, 0, 640, 480, brush});
    r.Next("DeleteObject", {brush});
    r.Next("ReleaseDC", {H(Bench.MainWindow), dc});
    EXPECT_TRUE(r.AtEnd());
    EXPECT_EQ(fake::Live(fake::Brush), 0);
}

TEST_F(Screens, IntroOn800x600) {
    Paint(0);
    Reader r;
    const intptr_t dc = r.Next("GetDC", {H(Bench.MainWindow)}).ret;
    const intptr_t old = Title(r, dc, 800, "Norvale Quenzel (v0.1)");
    const std::string notice = Text(r, dc, 8, 48, {8, 48, 800, 64}, fake::Log[r.Pos()].text).text;
    EXPECT_NE(notice.find("Norvale Software"), std::string::npos) << notice;
    EXPECT_NE(notice.find("2026"), std::string::npos) << notice;

    const intptr_t logo = r.Next(kCreateFont, Font(512, 266)).ret;
    r.Next("SelectObject", {dc, logo});
#ifdef UNDER_CE
    Text(r, dc, 8, 64, {8, 64, 792, 536}, "2D");
#else
    // The grey shadow first, 8 pixels right and down, without a background.
    const intptr_t oldColor = r.Next("SetTextColor", {dc, 0x7F7F7F}).ret;
    const intptr_t oldMode = r.Next("SetBkMode", {dc, TRANSPARENT}).ret;
    Text(r, dc, 16, 72, {8, 64, 792, 552}, "2D");
    r.Next("SetTextColor", {dc, oldColor});
    // The logo must not paint its rectangle over the shadow.
    Text(r, dc, 8, 64, {8, 64, 792, 536}, "2D", 0);
    r.Next("SetBkMode", {dc, oldMode});
    EXPECT_EQ(oldMode, OPAQUE);
#endif
    r.Next("SelectObject", {dc, old});
    r.Next("DeleteObject", {logo});
    r.Next("ReleaseDC", {H(Bench.MainWindow), dc});
    EXPECT_TRUE(r.AtEnd());
}

TEST_F(Screens, OddWidthCentresOnTheTruncatedHalf) {
    Paint(0, 801, 600);
    Reader r;
    EXPECT_EQ(r.Find(kCreateFont).args[1], 0);
    EXPECT_EQ(r.Find(kTextOut).args[1], 400);
    EXPECT_EQ(r.Find(kCreateFont).args[1], 267);
}

TEST_F(Screens, IndexSelectsTheScreen) {
    const char *names[] = {"",          "Pixel",   "Line",   "Rectangle",
                           "RoundRect", "Ellipse", "BitBlt", "TextOut"};
    for (int index : {-5, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 1000}) {
        fake::Reset();
        Bench.TestResults[1] = 11;
        Paint(index);
        const std::string first = Texts().at(0);
        if (index <= 0) {
            EXPECT_EQ(first, "Norvale Quenzel (v0.1)") << index;
        } else if (index <= 7) {
            EXPECT_EQ(first, std::string(names[index]) + " Test") << index;
        } else {
            EXPECT_EQ(first, "Pixel:") << index;
        }
    }
}

TEST_F(Screens, ResultOfRectangle) {
    Bench.TestResults[3] = 120;
    Paint(3, 240, 320);
    Reader r;
    const intptr_t dc = r.Next("GetDC", {H(Bench.MainWindow)}).ret;
    Title(r, dc, 240, "Rectangle Test");
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Rectangle Test", "Result: 120"}));
    r.Find(kTextOut); // the score line, after the desktop's conversion of it
    EXPECT_EQ(fake::Log[r.Pos() - 1].args, TextArgs(dc, 8, 48, 2, {8, 48, 240, 72}, 11));
    r.Next("ReleaseDC", {H(Bench.MainWindow), dc});
    EXPECT_TRUE(r.AtEnd());
}

TEST_F(Screens, SummaryRowsTotalAndTitle) {
    const int scores[] = {0, 5, 0, 3, 1, 2, 1, 1}; // sum 13: the mean truncates to 1
    std::copy(std::begin(scores), std::end(scores), Bench.TestResults);
    Paint(8);
    const char *names[] = {"",          "Pixel",   "Line",   "Rectangle",
                           "RoundRect", "Ellipse", "BitBlt", "TextOut"};

    Reader r;
    const intptr_t dc = r.Next("GetDC", {H(Bench.MainWindow)}).ret;
    for (int i = 1; i <= 7; i++) {
        const intptr_t y = 48 + 18 * (i - 1);
        r.Find(kTextOut);
        EXPECT_EQ(fake::Log[r.Pos() - 1].args,
                  TextArgs(dc, 8, y, 2, {8, y, 800, y + 12}, strlen(names[i]) + 1));
        EXPECT_EQ(fake::Log[r.Pos() - 1].text, std::string(names[i]) + ":");
        r.Find(kTextOut);
        EXPECT_EQ(fake::Log[r.Pos() - 1].args, TextArgs(dc, 100, y, 2, {100, y, 800, y + 12}, 1));
        EXPECT_EQ(fake::Log[r.Pos() - 1].text, std::to_string(scores[i]));
    }
    EXPECT_EQ(fake::Log[r.Pos() - 1].args[2], 156) << "the last row";
    Text(r, dc, 8, 192, {8, 192, 800, 204}, "TOTAL:");
    const intptr_t bold = r.Next(kCreateFont, Font(0, 0)).ret;
    const intptr_t old = r.Next("SelectObject", {dc, bold}).ret;
    r.Find(kTextOut);
    EXPECT_EQ(fake::Log[r.Pos() - 1].args,
              TextArgs(dc, 100, 188, 2, {100, 188, 800, kTotalBottom}, 1));
    EXPECT_EQ(fake::Log[r.Pos() - 1].text, "1");
    r.Next("SetTextAlign", {dc, 6});
    Text(r, dc, 400, 8, {0, 8, 800, 32}, "Results");
    r.Next("SelectObject", {dc, old});
    r.Next("DeleteObject", {bold});
    r.Next("ReleaseDC", {H(Bench.MainWindow), dc});
    EXPECT_TRUE(r.AtEnd());
}

TEST_F(Screens, TotalIsTheTruncatedMean) {
    const std::pair<std::vector<int>, std::string> cases[] = {
        {{0, 0, 0, 0, 0, 0, 0}, "0"},
        {{2, 3, 4, 5, 6, 0, 0}, "2"}, // 20 / 7
        {{13, 0, 0, 0, 0, 0, 0}, "1"},
    };
    for (const auto &[scores, total] : cases) {
        fake::Reset();
        std::copy(scores.begin(), scores.end(), Bench.TestResults + 1);
        Paint(8);
        const std::vector<std::string> texts = Texts();
        ASSERT_EQ(texts.size(), 17u);
        EXPECT_EQ(texts[15], total);
    }
}

TEST(IntToWStr, DecimalText) {
    EXPECT_EQ(IntToWStr(0), WideString(WIDE("0")));
    EXPECT_EQ(IntToWStr(7), WideString(WIDE("7")));
    EXPECT_EQ(IntToWStr(120), WideString(WIDE("120")));
    EXPECT_EQ(IntToWStr(-56), WideString(WIDE("-56")));
    EXPECT_EQ(IntToWStr(2147483647), WideString(WIDE("2147483647")));
    EXPECT_EQ(IntToWStr(-2147483647 - 1), WideString(WIDE("-2147483648")));
}

} // namespace
