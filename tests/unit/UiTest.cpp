#include "Support.h"

#include "DQuenzel.h"
#include "Screens.h"
#include "Services.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPTSTR commandLine, int show);

namespace {

const intptr_t kBold = kHandheld ? FW_HEAVY : FW_BOLD;
const HINSTANCE kInstance = reinterpret_cast<HINSTANCE>(0x400000);

class Ui : public Fresh {
  protected:
    std::vector<std::string> Paint(int index, int width = 800, int height = 600) {
        Bench.MainWindow = fake::AddWindow("QuenzelForm", "Norvale Quenzel");
        Bench.ScreenWidth = width;
        Bench.ScreenHeight = height;
        Bench.ScreenIndex = index;
        fake::Log.clear();
        PaintScreen();
        EXPECT_EQ(fake::Live(fake::Font) + fake::Live(fake::Dc), 0);
        return Texts();
    }
    void Send(UINT message, WPARAM wParam = 0) {
        EXPECT_EQ(MainWndProc(Bench.MainWindow, message, wParam, 0), 0);
    }
    // Runs the program; returns its exit code. A user presses F1 on every screen with
    // a Start or Next button and F2 on the summary.
    static UINT Run() {
        Bench = BenchState{};
        WindowClass = WNDCLASS{};
        SetClock(0, 10001, 20); // 20 calls, score 2, per test
        fake::OnIdle = [] {
            if (Bench.MainWindow != nullptr && fake::Timers.empty()) {
                const WPARAM key = Bench.NextShown ? VK_F1 : VK_F2;
                fake::Queue.push_back({Bench.MainWindow, WM_KEYUP, key, 0, 0, {}});
            }
        };
        try {
            WinMain(kInstance, nullptr, nullptr, 1);
        } catch (const fake::ProcessExit &exit) {
            return exit.code;
        }
        return 99;
    }
};

TEST_F(Ui, Screens) {
    std::vector<std::string> intro = {
        "{ 400, 8, 2, 0, 8, 800, 32 } Norvale Quenzel (v" QUENZEL_VERSION ")",
        "{ 8, 48, 2, 8, 48, 800, 64 } Copyright (C) 2026 Norvale Software",
        "{ 8, 64, 2, 8, 64, 792, 536 } 2D"};
    if (!kHandheld) { // a grey shadow, then the logo over it without filling its rectangle
        intro.back() = "{ 16, 72, 2, 8, 64, 792, 552 } 2D";
        intro.push_back("{ 8, 64, 0, 8, 64, 792, 536 } 2D");
    }
    EXPECT_EQ(Paint(0), intro);
    EXPECT_EQ((Args{Calls("CreateFontIndirect")[0][4], Calls("CreateFontIndirect")[1][0],
                    Calls("CreateFontIndirect")[1][1], Calls("CreateFontIndirect")[1][4]}),
              (Args{kBold, 512, 266, kBold}));

    Bench.TestResults[1] = -2147483647 - 1;
    EXPECT_EQ(Paint(1, 240, 320),
              (std::vector<std::string>{"{ 120, 8, 2, 0, 8, 240, 32 } Pixel Test",
                                        "{ 8, 48, 2, 8, 48, 240, 72 } Result: -2147483648"}));
    EXPECT_EQ(Paint(7).at(0), "{ 400, 8, 2, 0, 8, 800, 32 } TextOut Test");
    EXPECT_EQ(Calls("CreateFontIndirect")[0][4], kBold);

    const int scores[] = {0, 5, 0, 3, 1, 2, 1, 1234570}; // the mean, 176368.86, truncates
    std::copy(std::begin(scores), std::end(scores), Bench.TestResults);
    const std::vector<std::string> summary = Paint(8);
    ASSERT_EQ(summary.size(), 17u);
    EXPECT_EQ(
        (std::vector<std::string>{summary[0], summary[1], summary[13], summary[14], summary[15],
                                  summary[16]}),
        (std::vector<std::string>{
            "{ 8, 48, 2, 8, 48, 800, 60 } Pixel:", "{ 100, 48, 2, 100, 48, 800, 60 } 5",
            "{ 100, 156, 2, 100, 156, 800, 168 } 1234570", "{ 8, 192, 2, 8, 192, 800, 204 } TOTAL:",
            kHandheld ? "{ 100, 188, 2, 100, 188, 800, 204 } 176368"
                      : "{ 100, 188, 2, 100, 188, 800, 200 } 176368",
            "{ 400, 8, 2, 0, 8, 800, 32 } Results"}));
    EXPECT_EQ(Calls("CreateFontIndirect")[0][4], kBold);
}

// The sequence on a 240 x 320 screen through the window procedure; 30 calls, score
// 3, per test.
TEST_F(Ui, SequenceStepsOnStartAndEndsOnClose) {
    WindowClass.hInstance = kInstance;
    Bench.MainWindow = fake::AddWindow("QuenzelForm", "Norvale Quenzel", MainWndProc);
    Bench.ScreenWidth = 240;
    Bench.ScreenHeight = 320;
    Bench.SourceDC = CreateCompatibleDC(nullptr);
    SetClock(0, 10001, 30);
    const char *ran[] = {"Intro",     "SetPixel",           "LineTo",
                         "Rectangle", "RoundRect",          "Ellipse",
                         "BitBlt",    "CreateFontIndirect", "Summary"};
    for (int step = 0; step <= 8; step++) {
        fake::Log.clear();
        Send(WM_TIMER, STEP_TIMER_ID);
        EXPECT_TRUE(fake::Timers.empty()) << "each tick kills the timer";
        const std::vector<Args> fills = Calls("FillRect");
        ASSERT_EQ(fills.size(), 1u) << "cleared before painting";
        EXPECT_EQ(Args(fills[0].begin() + 1, fills[0].end() - 1), (Args{0, 0, 240, 320}));
        EXPECT_EQ(Calls("CreateSolidBrush").back(), Args{0xFFFFFF}) << "white";
        EXPECT_EQ(Calls(ran[step]).size(), step == 7 ? 31u : 30u * (step % 8 != 0)) << step;
        EXPECT_EQ(Bench.TestResults[step % 8], 3 * (step % 8 != 0));
        if (step == 0) {
            const fake::Window &close = fake::Windows.rbegin()->second;
            const fake::Window &start = std::next(fake::Windows.rbegin())->second;
            EXPECT_EQ((Args{start.id, close.id, N(start.parent)}),
                      (Args{1025, 1026, N(Bench.MainWindow)}));
            Send(WM_KEYDOWN, VK_F1); // keys act on release
            EXPECT_TRUE(fake::Timers.empty());
        }
        if (step < 8) { // Start twice, then Close, before the tick: one step is armed
            Send(WM_KEYUP, VK_F1);
            EXPECT_EQ(Calls("FillRect").size(), 2u) << "the screen cleared at once";
            Send(WM_COMMAND, ID_NEXT | 5 << 16);
            Send(WM_KEYUP, VK_F2);
            Send(WM_COMMAND, ID_CLOSE);
            EXPECT_EQ(Calls("SetTimer"), (std::vector<Args>{{N(Bench.MainWindow), 1, 10}}));
            EXPECT_EQ(fake::Children(Bench.MainWindow), std::vector<std::string>{});
            EXPECT_TRUE(fake::Windows.at(Bench.MainWindow).alive && fake::Queue.empty());
        }
    }
    Send(WM_KEYUP, VK_F1);
    EXPECT_TRUE(fake::Timers.empty()) << "the summary is final";
    Send(WM_KEYUP, VK_F2);
    EXPECT_FALSE(fake::Windows.at(Bench.MainWindow).alive);
    EXPECT_EQ(fake::Queue.at(0).message, UINT(WM_QUIT));
}

// A running copy is brought forward and this one steps aside; so it does when the
// other copy holds the benchmark's mutex but has no window yet.
TEST_F(Ui, ARunningCopyIsBroughtForwardAndThisOneSteps) {
    const HWND running = fake::AddWindow("QuenzelForm", "Norvale Quenzel");
    EXPECT_EQ(Run(), 0u);
    EXPECT_EQ(Calls("ShowWindow"), (std::vector<Args>{{N(running), SW_SHOW}}));
    EXPECT_EQ(Calls("SetForegroundWindow"), std::vector<Args>{{N(running)}});
    EXPECT_EQ(Calls("RegisterClass").size(), 0u);
    fake::Reset();
    fake::MutexTaken = true;
    EXPECT_EQ(Run(), 0u);
    EXPECT_EQ(fake::Log.at(0).text, "NorvaleQuenzelBenchmark");
    EXPECT_EQ(Calls("RegisterClass").size() + Calls("SetForegroundWindow").size(), 0u);
}

TEST_F(Ui, WhatCannotBeMadeIsFatal) {
    const std::pair<bool *, const char *> cases[] = {
        {&fake::FailRegisterClass, "Error in RegisterClass|Fatal Error"},
        {&fake::FailCreateWindow, "Error in CreateWindow|Fatal Error"},
        {&fake::FailSetTimer, "Error in SetTimer|Fatal Error"}};
    for (const auto &[fail, text] : cases) {
        fake::Reset();
        *fail = true;
        EXPECT_EQ(Run(), 1u);
        EXPECT_EQ((fake::Log.end() - 2)->text, text);
        EXPECT_EQ((fake::Log.end() - 2)->args,
                  (Args{0, MB_OK | MB_ICONHAND | MB_SYSTEMMODAL | MB_TOPMOST}));
    }
    fake::Reset(); // the step timer that Start sets, as the first one
    Bench.MainWindow = fake::AddWindow("QuenzelForm", "Norvale Quenzel", MainWndProc);
    Bench.NextButton = fake::AddWindow("button", "Start");
    Bench.CloseButton = fake::AddWindow("button", "Close");
    Bench.NextShown = fake::FailSetTimer = true;
    EXPECT_THROW(OnNext(), fake::ProcessExit);
    EXPECT_EQ((fake::Log.end() - 2)->text, "Error in SetTimer|Fatal Error");
}

// The class, the window at the screen's corner, the source bitmap, the step timer, in
// this order; 20 calls, score 2, per test; then everything released.
TEST_F(Ui, WholeRunThenEverythingReleasedAndExitZero) {
    fake::Reset(640, 480);
    fake::AddWindow("QuenzelForm", "Another title"); // only class and title together
    fake::AddWindow("OtherForm", "Norvale Quenzel"); // are a running copy
    EXPECT_EQ(Run(), 0u);
    std::string order;
    for (const fake::Call &call : fake::Log) {
        if (order.find(call.fn) == std::string::npos &&
            std::string(
                "CreateMutex RegisterClass DisableProcessWindowsGhosting CreateWindowEx ShowWindow "
                "SHFullScreen CreateCompatibleBitmap SetTimer")
                    .find(call.fn) != std::string::npos) {
            order += call.fn + " ";
        }
    }
    EXPECT_EQ(order, kHandheld ? "CreateMutex RegisterClass CreateWindowEx ShowWindow "
                                 "SHFullScreen CreateCompatibleBitmap SetTimer "
                               : "CreateMutex RegisterClass DisableProcessWindowsGhosting "
                                 "CreateWindowEx ShowWindow CreateCompatibleBitmap SetTimer ");
    EXPECT_EQ(fake::Log[1].args,
              (Args{0, 0, N(MainWndProc), 0x400000, 32513, 32514, COLOR_WINDOW + 1}));
    EXPECT_EQ(fake::Log[1].text, "QuenzelForm");
    EXPECT_EQ(Calls("CreateWindowEx")[0], (Args{WS_EX_TOPMOST, WS_VISIBLE, 0x400000}));
    const fake::Window &main = fake::Windows.at(Bench.MainWindow);
    EXPECT_EQ((Args{main.place.left, main.place.top}), (Args{0, 0}));
    EXPECT_EQ(main.title, "Norvale Quenzel");
    EXPECT_EQ(std::count(Bench.TestResults + 1, Bench.TestResults + 8, 2), 7);
    EXPECT_EQ(fake::Live(fake::Dc) + fake::Live(fake::Bitmap) + fake::Live(fake::Pen), 0);
    EXPECT_EQ(fake::Log.back().args, Args{0});
}

} // namespace
