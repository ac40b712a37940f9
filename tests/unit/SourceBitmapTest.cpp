#include "Support.h"

#include "SourceBitmap.h"

namespace {

class SourceBitmap : public Fresh {
  protected:
    void Setup(int width, int height) {
        Bench.ScreenWidth = width;
        Bench.ScreenHeight = height;
        SetupSourceBitmap();
    }
};

TEST_F(SourceBitmap, PaintsOneStripePerRowFromThreeDrawsEach) {
    Setup(5, 4);
    const int next = RandomInt(0x7fffffff);
    RandomReset();

    Reader r;
    const intptr_t screen = r.Next("GetDC", {0}).ret;
    const intptr_t source = r.Next("CreateCompatibleDC", {screen}).ret;
    const intptr_t bitmap = r.Next("CreateCompatibleBitmap", {screen, 5, 4}).ret;
    const intptr_t old = r.Next("SelectObject", {source, bitmap}).ret;
    for (int y = 0; y < 4; y++) {
        const intptr_t pen = r.Next("CreatePen", {PS_SOLID, 1, DrawColor()}).ret;
        const intptr_t oldPen = r.Next("SelectObject", {source, pen}).ret;
        r.Next("MoveToEx", {source, 0, y, 0});
        r.Next("LineTo", {source, 4, y}); // LineTo stops short of column 4
        r.Next("SelectObject", {source, oldPen});
        r.Next("DeleteObject", {pen});
    }
    r.Next("ReleaseDC", {0, screen});
    EXPECT_TRUE(r.AtEnd());
    EXPECT_EQ(RandomInt(0x7fffffff), next) << "exactly three draws per row";

    EXPECT_EQ(H(Bench.SourceDC), source);
    EXPECT_EQ(H(Bench.SourceBitmap), bitmap);
    EXPECT_EQ(H(Bench.SourceOldBitmap), old);
    EXPECT_EQ(Bench.SourceOldBitmap, fake::StockObject(fake::Bitmap));
    EXPECT_EQ(fake::State(Bench.SourceDC).bitmap, Bench.SourceBitmap);
    EXPECT_EQ(fake::Live(fake::Pen), 0);
    EXPECT_EQ(fake::Live(fake::Dc), 1);
}

TEST_F(SourceBitmap, TakesThreeDrawsPerRowOfAFullScreen) {
    Setup(800, 600);
    EXPECT_EQ(DrawsTaken(), 1800);
}

TEST_F(SourceBitmap, TopRowColourIsTheFlavoursFirstThreeDraws) {
    Setup(16, 2);
    Reader r;
#ifdef UNDER_CE
    EXPECT_EQ(r.Find("CreatePen").args[2], RGB(183, 151, 140));
#else
    EXPECT_EQ(r.Find("CreatePen").args[2], RGB(220, 8, 0));
#endif
}

TEST_F(SourceBitmap, OnePixelWideRowsStillTakeTheirDraws) {
    Setup(1, 3);
    int lines = 0;
    for (const fake::Call &call : fake::Log) {
        if (call.fn == "LineTo") {
            EXPECT_EQ(call.args[1], 0);
            EXPECT_EQ(call.args[2], lines++);
        }
    }
    EXPECT_EQ(lines, 3);
    EXPECT_EQ(DrawsTaken(), 9);
}

TEST_F(SourceBitmap, ReleaseDeselectsThenDeletesTheDcThenTheBitmap) {
    Setup(4, 4);
    const intptr_t source = H(Bench.SourceDC), bitmap = H(Bench.SourceBitmap);
    const intptr_t old = H(Bench.SourceOldBitmap);
    const size_t start = fake::Log.size();
    ReleaseSourceBitmap();

    Reader r(start);
    EXPECT_EQ(r.Next("SelectObject", {source, old}).ret, bitmap);
    r.Next("DeleteDC", {source});
    EXPECT_EQ(r.Next("DeleteObject", {bitmap}).ret, TRUE);
    EXPECT_TRUE(r.AtEnd());
    for (int kind = 0; kind < fake::KindCount; kind++) {
        EXPECT_EQ(fake::Live(static_cast<fake::Kind>(kind)), 0) << kind;
    }
}

} // namespace
