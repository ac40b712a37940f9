// The wide suite on the real Win32: every test drawn on a DIB section and read back,
// the DC's state and the GDI objects after many calls, and the pictures' digests.
#include "Bench.h"
#include "Picture.h"
#include "Random.h"
#include "WideWorkloads.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr DWORD kWhite = 0x00FFFFFF;
constexpr INT kArea = 560; // the surface the tests draw in, inside a larger bitmap
constexpr INT kBitmap = 600;

bool Offered(const WideTest &test) {
    return sizeof(TCHAR) == 1 || OnHandheld(test);
}

bool Reads(const WideTest &test) {
    return test.Op == WideOp::GetPixel || test.Op == WideOp::GetDIBits ||
           test.Op == WideOp::ColourToMono;
}

// A white 600 x 600 bitmap whose top-left 560 x 560 is the surface the tests know.
class Wide : public ::testing::Test {
  protected:
    void SetUp() override {
        Bench = BenchState{};
        BITMAPINFO info = {
            {sizeof(BITMAPINFOHEADER), kBitmap, -kBitmap, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
        void *bits;
        Bench.DrawDC = CreateCompatibleDC(nullptr);
        Bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        Old = SelectObject(Bench.DrawDC, Bitmap);
        Bench.ScreenWidth = Bench.ScreenHeight = kArea;
        White();
    }
    void TearDown() override {
        SelectObject(Bench.DrawDC, Old);
        DeleteObject(Bitmap);
        DeleteDC(Bench.DrawDC);
    }
    void White() {
        PatBlt(Bench.DrawDC, 0, 0, kBitmap, kBitmap, WHITENESS);
    }
    static std::vector<DWORD> Pixels() {
        return ReadArea(Bench.DrawDC, kBitmap, kBitmap);
    }
    // Test i's first calls from its start, on white.
    void Draw(INT test, INT calls) {
        White();
        const TestProc proc = WideBegin(test);
        for (INT i = 0; i < calls; i++) {
            proc();
        }
        WideEnd();
    }
    HBITMAP Bitmap;
    HGDIOBJ Old;
};

// Every test offered draws, and only within its surface; a test that reads draws
// nothing itself.
TEST_F(Wide, EveryTestDrawsWithinItsSurface) {
    for (INT i = 1; i <= WIDE_COUNT; i++) {
        const WideTest &test = WIDE_TABLE[i];
        if (!Offered(test)) {
            continue;
        }
        White();
        const TestProc proc = WideBegin(i);
        const std::vector<DWORD> before = Pixels();
        for (INT k = 0; k < 16; k++) {
            proc();
        }
        WideEnd();
        const std::vector<DWORD> after = Pixels();
        EXPECT_EQ(after == before, Reads(test)) << test.Name;
        INT outside = 0;
        for (INT y = 0; y < kBitmap; y++) {
            for (INT x = kArea; x < kBitmap; x++) {
                outside += after[y * kBitmap + x] != kWhite;
                outside += after[x * kBitmap + y] != kWhite;
            }
        }
        EXPECT_EQ(outside, 0) << test.Name << " drew beyond its surface";
    }
}

// Where the first shape of each family lands, from the draws its workload takes: the
// set-up's draws come first, then the place.
TEST_F(Wide, TheFirstShapeOfEachFamilyLandsWhereItsDrawsSay) {
    const auto at = [](const std::vector<DWORD> &pixels, INT x, INT y) {
        return pixels[y * kBitmap + x];
    };
    const auto colour = [](COLORREF c) {
        return static_cast<DWORD>(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c));
    };
    for (const char *name :
         {"SetPixel", "Line.100", "Rectangle.100", "BitBlt.SRCCOPY.100", "FillRgn.rect.100"}) {
        const INT test = WideIndex(name);
        RandomRestore(RandomStateFrom(WideSeed(WIDE_TABLE[test])));
        const COLORREF ink = RandomColor(), paper = RandomColor();
        if (std::string(name) == "FillRgn.rect.100") {
            // The sixteen regions are placed first, then one is drawn.
            INT places[16][2];
            for (auto &place : places) {
                place[0] = RandomInt(kArea - 99);
                place[1] = RandomInt(kArea - 99);
            }
            const INT *first = places[RandomInt(16)];
            Draw(test, 1);
            const std::vector<DWORD> p = Pixels();
            EXPECT_EQ(at(p, first[0], first[1]), colour(paper)) << name;
            EXPECT_EQ(at(p, first[0] + 99, first[1] + 99), colour(paper)) << name;
            EXPECT_EQ(at(p, first[0] + 100, first[1] + 99), kWhite) << name;
            continue;
        }
        const INT x = RandomInt(test == 1 ? kArea : kArea - 99),
                  y = RandomInt(test == 1 ? kArea : kArea - 99), slant = RandomInt(100);
        Draw(test, 1);
        const std::vector<DWORD> p = Pixels();
        INT drawn = 0;
        for (const DWORD pixel : p) {
            drawn += pixel != kWhite;
        }
        if (test == 1) {
            EXPECT_EQ(at(p, x, y), colour(ink)) << name;
            EXPECT_EQ(drawn, 1) << name;
        } else if (WIDE_TABLE[test].Op == WideOp::Line) {
            EXPECT_EQ(at(p, x, y + slant), colour(ink)) << name;
            EXPECT_EQ(drawn, 99) << name << ": 99 pixels, the last one left out";
        } else if (WIDE_TABLE[test].Op == WideOp::Rectangle) {
            EXPECT_EQ(at(p, x, y), colour(ink)) << name;
            EXPECT_EQ(at(p, x + 50, y + 50), colour(paper)) << name;
            EXPECT_EQ(drawn, 100 * 100) << name;
        } else {
            // The source's bands of eight rows: the ink, then white, then the paper.
            EXPECT_EQ(at(p, x, y), colour(ink)) << name;
            EXPECT_EQ(at(p, x + 4, y + 8), kWhite) << name;
            EXPECT_EQ(at(p, x + 50, y + 17), colour(paper)) << name;
        }
    }
}

// After a thousand calls of each test, the DC holds the objects, colours and modes it
// held before, and no GDI object is left alive.
TEST_F(Wide, TheDcIsAsFoundAfterThousandsOfCalls) {
    const HDC dc = Bench.DrawDC;
    const auto state = [dc] {
        POINT origin;
        GetBrushOrgEx(dc, &origin);
        const HRGN clip = CreateRectRgn(0, 0, 0, 0);
        const int clipped = GetClipRgn(dc, clip);
        DeleteObject(clip);
        return std::vector<UINT_PTR>{reinterpret_cast<UINT_PTR>(GetCurrentObject(dc, OBJ_PEN)),
                                     reinterpret_cast<UINT_PTR>(GetCurrentObject(dc, OBJ_BRUSH)),
                                     reinterpret_cast<UINT_PTR>(GetCurrentObject(dc, OBJ_FONT)),
                                     reinterpret_cast<UINT_PTR>(GetCurrentObject(dc, OBJ_BITMAP)),
                                     GetTextColor(dc),
                                     GetBkColor(dc),
                                     static_cast<UINT_PTR>(GetBkMode(dc)),
                                     static_cast<UINT_PTR>(GetPolyFillMode(dc)),
                                     static_cast<UINT_PTR>(GetStretchBltMode(dc)),
                                     static_cast<UINT_PTR>(origin.x),
                                     static_cast<UINT_PTR>(origin.y),
                                     static_cast<UINT_PTR>(clipped)};
    };
    // Not the defaults, so that a reset to them shows.
    SetTextColor(dc, RGB(1, 2, 3));
    SetBkColor(dc, RGB(4, 5, 6));
    SetStretchBltMode(dc, BLACKONWHITE);
    SetBrushOrgEx(dc, 3, 5, nullptr);
    const std::vector<UINT_PTR> found = state();
    const DWORD objects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    for (INT i = 1; i <= WIDE_COUNT; i++) {
        // The slow large copies and stretches add nothing their smaller sizes do not.
        if (!Offered(WIDE_TABLE[i]) || WIDE_TABLE[i].Size == 500) {
            continue;
        }
        Draw(i, 1000);
        EXPECT_EQ(state(), found) << WIDE_TABLE[i].Name;
    }
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), objects);
}

// The same drawing gives the same digest; one pixel planted wrong, or two swapped,
// another.
TEST_F(Wide, APlantedWrongDrawingChangesTheDigest) {
    const INT test = WideIndex("Ellipse.100");
    Draw(test, 32);
    const std::vector<DWORD> pixels = Pixels();
    const std::string digest = DigestOf(pixels);
    Draw(test, 32);
    EXPECT_EQ(DigestOf(Pixels()), digest);
    EXPECT_EQ(digest.size(), 16u);
    SetPixel(Bench.DrawDC, 300, 300, GetPixel(Bench.DrawDC, 300, 300) ^ 1);
    EXPECT_NE(DigestOf(Pixels()), digest);
    std::vector<DWORD> swapped = pixels;
    const auto other =
        std::find_if(swapped.begin(), swapped.end(), [&](DWORD p) { return p != swapped[0]; });
    std::swap(swapped[0], *other);
    EXPECT_NE(DigestOf(swapped), digest);
    EXPECT_EQ(DigestOf({}), "");
}

} // namespace
