// The controller on a real window of the program's window procedure, filling the
// screen as the program's does, and a real message loop.
#include "Bench.h"
#include "DQuenzel.h"
#include "Screens.h"
#include "Services.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace {

constexpr bool kHandheld = sizeof(TCHAR) == 2; // the handheld passes UTF-16 text

// A text the test draws at (x, y) over its box filled white (if any), in the DC's font
// (height -1) or the title's bold one (a logo's, of a height, is a third of the screen wide).
struct Put {
    LONG x, y;
    Text text;
    RECT box = {};
    LONG height = -1, align = TA_LEFT, colour = 0, mode = OPAQUE;
};

class Ui : public ::testing::Test {
  protected:
    void SetUp() override {
        Bench = BenchState{};
        WindowClass = {0, MainWndProc, 0, 0, GetModuleHandle(nullptr),
                       0, 0,           0, 0, TEXT("QuenzelTest")};
        RegisterClass(&WindowClass); // once a process: again, it is there already
        Bench.MainWindow = CreateMainWindow(TEXT("QuenzelTest"), TEXT("Test"), nullptr);
        ASSERT_NE(Bench.MainWindow, nullptr);
    }
    void TearDown() override {
        DestroyWindow(Bench.MainWindow);
    }
    static HWND Button(const TCHAR *caption) {
        return FindWindowEx(Bench.MainWindow, nullptr, TEXT("button"), caption);
    }
    static void Send(UINT message, WPARAM wParam) {
        EXPECT_EQ(SendMessage(Bench.MainWindow, message, wParam, 0), 0);
    }
    // The window above the buttons shows these texts on white and nothing else, as the test
    // draws them (no glyph of the host's fonts is assumed); painted anew on black, the same.
    static void ExpectScreen(const std::vector<Put> &puts) {
        const INT width = Bench.ScreenWidth, height = Bench.ScreenHeight - 40;
        const HDC dc = GetDC(Bench.MainWindow), memory = CreateCompatibleDC(dc);
        const HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
        const HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
        std::vector<DWORD> shown(width * height), expected(width * height);
        for (const DWORD ground : {DWORD(PATCOPY), DWORD(BLACKNESS)}) { // the brush is white
            if (ground == BLACKNESS) {
                PatBlt(dc, 0, 0, width, height, BLACKNESS);
                PaintScreen();
            }
            for (std::vector<DWORD> *pixels : {&shown, &expected}) {
                BitBlt(memory, 0, 0, width, height, dc, 0, 0, SRCCOPY);
                GetBitmapBits(bitmap, width * height * 4, pixels->data());
                PatBlt(dc, 0, 0, width, height, ground);
                for (const Put &put : puts) {
                    SelectObject(dc, put.height < 0
                                         ? GetStockObject(SYSTEM_FONT)
                                         : CreateFont(put.height, put.height > 0 ? width / 3 : 0, 0,
                                                      0, kHandheld ? FW_HEAVY : FW_BOLD, 0, 0, 0,
                                                      DEFAULT_CHARSET, 0, 0, PROOF_QUALITY, 0,
                                                      nullptr));
                    SetTextAlign(dc, put.align);
                    SetTextColor(dc, put.colour);
                    SetBkMode(dc, put.mode);
                    ExtTextOut(dc, put.x, put.y, put.box.right > 0 ? ETO_OPAQUE : 0, &put.box,
                               put.text.c_str(), UINT(put.text.size()), nullptr);
                    DeleteObject(SelectObject(dc, GetStockObject(SYSTEM_FONT))); // stock stays
                }
            }
            const size_t at =
                std::mismatch(shown.begin(), shown.end(), expected.begin()).first - shown.begin();
            EXPECT_EQ(at, shown.size()) << (ground == BLACKNESS ? "on black, " : "") << "pixel ("
                                        << at % width << ", " << at / width << ") is 0x" << std::hex
                                        << shown[at] << ", expected 0x" << expected[at];
        }
        DeleteObject(SelectObject(memory, oldBitmap));
        DeleteDC(memory);
        ReleaseDC(Bench.MainWindow, dc);
    }
};

// A tick kills its timer and paints the intro with Start and Close; a key acts on release;
// Start removes both, clears and arms the next step, which neither Close nor F2 pre-empts;
// the step comes through the message loop and paints the summary over a result screen
// with only Close, which ends the loop. Screens are compared whole, above the buttons.
TEST_F(Ui, StartStepsAndCloseWaitsForTheStep) {
    SetTimer(Bench.MainWindow, STEP_TIMER_ID, 100000, nullptr);
    Send(WM_TIMER, STEP_TIMER_ID);
    EXPECT_FALSE(KillTimer(Bench.MainWindow, STEP_TIMER_ID));
    const HWND start = Button(TEXT("Start")), close = Button(TEXT("Close"));
    EXPECT_EQ((std::vector<int>{GetDlgCtrlID(start), GetDlgCtrlID(close), Bench.StepIndex}),
              (std::vector<int>{ID_NEXT, ID_CLOSE, 1}));
    const INT width = Bench.ScreenWidth, height = Bench.ScreenHeight, logo = height - 88;
    const RECT title = {0, 8, width, 32}, box = {8, 64, width - 8, height - 48 - 16 * kHandheld};
    const LONG grey = RGB(127, 127, 127);
    std::vector<Put> intro = {
        {width / 2, 8, TEXT("Norvale Quenzel (v") QUENZEL_VERSION ")", title, 0, TA_CENTER},
        {8, 48, TEXT("Copyright (C) 2026 Norvale Software"), {8, 48, width, 64}},
        {8, 64, TEXT("2D"), box, logo}}; // the handheld's logo
    if (!kHandheld) { // the desktop's, over a grey shadow in the box, both transparent
        intro.back() = {16, 72, TEXT("2D"), box, logo, TA_LEFT, grey, TRANSPARENT};
        intro.push_back({8, 64, TEXT("2D"), {}, logo, TA_LEFT, 0, TRANSPARENT});
    }
    ExpectScreen(intro);
    Send(WM_KEYDOWN, VK_F1);
    EXPECT_TRUE(IsWindow(start));
    Bench.StepIndex = TEST_COUNT + 1; // the summary next: no test to run
    Send(WM_COMMAND, ID_NEXT | BN_CLICKED << 16);
    EXPECT_FALSE(IsWindow(start) || IsWindow(close));
    Bench.TestResults[Bench.ScreenIndex = 1] = -2147483647 - 1;
    PaintScreen(); // on the screen Start cleared
    EXPECT_FALSE(ReleaseDC(Bench.MainWindow, Bench.DrawDC)) << "released already";
    ExpectScreen({{width / 2, 8, TEXT("Pixel Test"), title, 0, TA_CENTER},
                  {8, 48, TEXT("Result: -2147483648"), {8, 48, width, 72}}});
    std::vector<Put> summary = {
        {8, 192, TEXT("TOTAL:"), {8, 192, width, 204}},
        {100, 188, TEXT("370371"), {100, 188, width, 204 - 4 * !kHandheld}, 0},
        {width / 2, 8, TEXT("Results"), title, 0, TA_CENTER}};
    for (LONG i = 1, y = 48; i <= TEST_COUNT; i++, y += 18) {
        const std::string score = std::to_string(Bench.TestResults[i] = (i - 1) * 123457 + (i > 1));
        summary.push_back({8, y, Text(TestTable[i].Name) + TEXT(":"), {8, y, width, y + 12}});
        summary.push_back({100, y, Text(score.begin(), score.end()), {100, y, width, y + 12}});
    }
    Send(WM_KEYUP, VK_F2);
    Send(WM_COMMAND, ID_CLOSE);
    EXPECT_TRUE(IsWindow(Bench.MainWindow)) << "Close waits for the step";

    MSG message;
    while (!Bench.CloseShown && GetMessage(&message, nullptr, 0, 0) > 0) {
        DispatchMessage(&message);
    }
    EXPECT_EQ(Button(TEXT("Next")), nullptr);
    ExpectScreen(summary); // on the result screen cleared
    Send(WM_KEYUP, VK_F1);
    EXPECT_FALSE(KillTimer(Bench.MainWindow, STEP_TIMER_ID)) << "the summary is final";
    ASSERT_NE(Button(TEXT("Close")), nullptr);
    Send(WM_KEYUP, VK_F2);
    EXPECT_FALSE(IsWindow(Bench.MainWindow));
    EXPECT_TRUE(PeekMessage(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) && message.wParam == 0);
}

// A second copy finds the first one's window and steps aside with exit code 0. A fatal
// error shows its box (answered by this hook, which names it on stderr), then ends the
// process with exit code 1.
LRESULT CALLBACK AnswerBox(int code, WPARAM wParam, LPARAM lParam) {
    char caption[32] = {};
    if (code == HCBT_ACTIVATE && GetWindowTextA(HWND(wParam), caption, sizeof caption) > 0) {
        std::fputs(caption, stderr);
        std::fflush(stderr); // the handheld's end does not flush it
        PostMessage(HWND(wParam), WM_COMMAND, IDOK, 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(Ui, SecondCopyAndFatalErrorEndTheProcess) {
    EXPECT_EXIT(CheckSingleInstance(WIDE("QuenzelTest"), WIDE("Test")), testing::ExitedWithCode(0),
                "");
    EXPECT_EXIT(
        {
            SetWindowsHookEx(WH_CBT, AnswerBox, nullptr, GetCurrentThreadId());
            FatalError(nullptr, WIDE("Error in CreateWindow"));
        },
        testing::ExitedWithCode(1), "Fatal Error");
}

} // namespace
