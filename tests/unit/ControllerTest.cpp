#include "Support.h"

#include "DQuenzel.h"

namespace {

constexpr UINT WM_PAINT_ = 0x000F;

class Controller : public Fresh {
  protected:
    void SetUp() override {
        Fresh::SetUp();
        WindowClass = WNDCLASS{};
        WindowClass.lpfnWndProc = MainWndProc;
        WindowClass.hInstance = reinterpret_cast<HINSTANCE>(0x400000);
        WindowClass.lpszClassName = TEXT("QuenzelForm");
        RegisterClass(&WindowClass);
        Bench.MainWindow =
            CreateWindowEx(0, TEXT("QuenzelForm"), TEXT("Norvale Quenzel"), 0, 0, 0, 240, 320,
                           nullptr, nullptr, WindowClass.hInstance, nullptr);
        Bench.ScreenWidth = 240;
        Bench.ScreenHeight = 320;
        Bench.SourceDC = CreateCompatibleDC(nullptr);
        fake::SetClock(0, 10001, 30); // 30 calls, score 3, per test
        fake::Log.clear();
    }

    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return MainWndProc(Bench.MainWindow, message, wParam, lParam);
    }
    void Tick() {
        EXPECT_EQ(Send(WM_TIMER, STEP_TIMER_ID), 0);
    }
    void F1() {
        EXPECT_EQ(Send(WM_KEYUP, VK_F1), 0);
    }
    void F2() {
        EXPECT_EQ(Send(WM_KEYUP, VK_F2), 0);
    }

    // Captions of the buttons that exist, left to right.
    std::vector<std::string> Buttons() {
        std::vector<std::string> captions;
        for (HWND child : fake::LiveChildren(Bench.MainWindow)) {
            captions.push_back(fake::WindowOf(child).title);
        }
        return captions;
    }

    bool Armed() {
        return fake::TimerArmed(Bench.MainWindow, STEP_TIMER_ID);
    }

    int Count(const std::string &fn) {
        int count = 0;
        for (const fake::Call &call : fake::Log) {
            count += call.fn == fn;
        }
        return count;
    }
};

TEST_F(Controller, FirstTickShowsTheIntroWithStartAndClose) {
    SetTimer(Bench.MainWindow, STEP_TIMER_ID, STEP_TIMER_MS, nullptr);
    Tick();
    EXPECT_FALSE(Armed()) << "each tick kills the timer";
    EXPECT_EQ(Count("SetThreadPriority"), 0) << "no test runs for the intro";
    EXPECT_EQ(Bench.ScreenIndex, 0);
    EXPECT_EQ(Bench.StepIndex, 1);
    EXPECT_TRUE(Bench.NextShown);
    EXPECT_TRUE(Bench.CloseShown);
    EXPECT_EQ(Buttons(), (std::vector<std::string>{"Start", "Close"}));

    // On a 240 x 320 screen: x 16..95 and 144..223, y 288..309.
    const fake::Window &next = fake::WindowOf(Bench.NextButton);
    const fake::Window &close = fake::WindowOf(Bench.CloseButton);
    EXPECT_EQ(next.className, "button");
    EXPECT_EQ(next.style, 0x50000000u);
    EXPECT_EQ(next.exStyle, 0u);
    EXPECT_EQ((Args{next.x, next.y, next.width, next.height, next.id}),
              (Args{16, 288, 80, 22, 1025}));
    EXPECT_EQ((Args{close.x, close.y, close.width, close.height, close.id}),
              (Args{144, 288, 80, 22, 1026}));
    EXPECT_EQ(next.parent, Bench.MainWindow);
    Reader r;
    EXPECT_EQ(r.Find("CreateWindowEx" + std::string(kTextUnit == 2 ? "W" : "A")).args[8],
              H(WindowClass.hInstance));
}

TEST_F(Controller, StartTwiceBeforeTheTickArmsOneStep) {
    Tick();
    F1();
    EXPECT_TRUE(Armed());
    EXPECT_EQ(Buttons(), std::vector<std::string>{});
    EXPECT_FALSE(Bench.NextShown);
    EXPECT_FALSE(Bench.CloseShown);
    EXPECT_EQ(Send(WM_COMMAND, ID_NEXT, 0), 0);
    F1();
    EXPECT_EQ(Count("SetTimer"), 1);

    // While the step is due, F1 and F2 do nothing.
    F2();
    EXPECT_EQ(fake::Queue().size(), 0u);
    EXPECT_TRUE(fake::WindowOf(Bench.MainWindow).alive);

    Tick();
    EXPECT_EQ(Count("SetThreadPriority"), 2) << "exactly one test ran";
    EXPECT_EQ(Bench.StepIndex, 2);
    EXPECT_EQ(Bench.TestResults[1], 3);
    EXPECT_EQ(Buttons(), (std::vector<std::string>{"Next", "Close"}));
}

TEST_F(Controller, OnNextClosesBothButtonsClearsAndArmsTheTimer) {
    Tick();
    const HWND next = Bench.NextButton, close = Bench.CloseButton;
    fake::Log.clear();
    EXPECT_EQ(Send(WM_COMMAND, ID_NEXT, H(next)), 0);
    Reader r;
    r.Find("SendMessage" + std::string(kTextUnit == 2 ? "W" : "A"));
    EXPECT_EQ(fake::Log[r.Pos() - 1].args, (Args{H(next), WM_CLOSE, 0, 0}));
    r.Find("SendMessage" + std::string(kTextUnit == 2 ? "W" : "A"));
    EXPECT_EQ(fake::Log[r.Pos() - 1].args, (Args{H(close), WM_CLOSE, 0, 0}));
    r.Find("FillRect");
    r.Find("SetTimer");
    EXPECT_EQ(fake::Log[r.Pos() - 1].args, (Args{H(Bench.MainWindow), 1, 10, 0}));
}

TEST_F(Controller, WholeSequenceRunsEachTestOnceInOrder) {
    std::vector<std::string> screens;
    Tick();
    for (int step = 1; step <= 8; step++) {
        F1();
        Tick();
        EXPECT_LE(Bench.StepIndex, 8);
        screens.push_back(Buttons().front());
    }
    EXPECT_EQ(screens, (std::vector<std::string>{"Next", "Next", "Next", "Next", "Next", "Next",
                                                 "Next", "Close"}));
    EXPECT_EQ(Bench.StepIndex, 8);
    EXPECT_EQ(Bench.ScreenIndex, 8);
    EXPECT_FALSE(Bench.NextShown);
    for (int i = 1; i <= TEST_COUNT; i++) {
        EXPECT_EQ(Bench.TestResults[i], 3) << i;
    }

    // The first drawing call inside each timed window names the test that ran.
    std::vector<std::string> ran;
    bool timed = false;
    for (const fake::Call &call : fake::Log) {
        if (call.fn == "SetThreadPriority") {
            timed = call.args[1] == kTimeCritical;
        } else if (timed && call.fn != "GetTickCount" && call.fn != "GetCurrentThread" &&
                   call.fn != "CreatePen" && call.fn != "CreateSolidBrush" &&
                   call.fn != kCreateFont && call.fn != "SelectObject" && call.fn != "SetBkColor" &&
                   call.fn != "SetTextColor") {
            ran.push_back(call.fn);
            timed = false;
        }
    }
    EXPECT_EQ(ran, (std::vector<std::string>{"SetPixel", "MoveToEx", "Rectangle", "RoundRect",
                                             "Ellipse", "BitBlt", kTextOut}));

    // The summary is final: F1 does nothing; F2 closes the program.
    F1();
    EXPECT_FALSE(Armed());
    EXPECT_EQ(Bench.StepIndex, 8);
    F2();
    EXPECT_FALSE(fake::WindowOf(Bench.MainWindow).alive);
    ASSERT_EQ(fake::Queue().size(), 1u);
    EXPECT_EQ(fake::Queue().front().message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(fake::Queue().front().wParam, 0u);
}

TEST_F(Controller, CloseButtonSendsCloseToTheMainWindow) {
    Tick();
    fake::Log.clear();
    EXPECT_EQ(Send(WM_COMMAND, ID_CLOSE | BN_CLICKED << 16, H(Bench.CloseButton)), 0);
    Reader r;
    r.Next("SendMessage" + std::string(kTextUnit == 2 ? "W" : "A"),
           {H(Bench.MainWindow), WM_CLOSE, 0, 0});
    EXPECT_FALSE(fake::WindowOf(Bench.MainWindow).alive);
    EXPECT_EQ(r.Find("PostQuitMessage").args, Args{0});
}

TEST_F(Controller, OtherInputIsIgnored) {
    Tick();
    fake::Log.clear();
    EXPECT_EQ(Send(WM_COMMAND, 1027), 0);
    EXPECT_EQ(Send(WM_COMMAND, 0), 0);
    EXPECT_EQ(Send(WM_KEYUP, VK_F3), 0);
    EXPECT_EQ(Send(WM_KEYUP, 'N'), 0);
    EXPECT_EQ(Send(WM_KEYDOWN, VK_F1), 0);
    EXPECT_EQ(Send(WM_KEYDOWN, VK_F2), 0);
    EXPECT_EQ(fake::Log.size(), 0u) << "no call, not even to the default procedure";
    EXPECT_EQ(Buttons(), (std::vector<std::string>{"Start", "Close"}));

    // Any notification code of the button's identifier acts.
    EXPECT_EQ(Send(WM_COMMAND, ID_NEXT | 5 << 16, 0), 0);
    EXPECT_TRUE(Armed());
}

TEST_F(Controller, OtherMessagesGoToTheDefaultProcedure) {
    EXPECT_EQ(Send(WM_PAINT_, 7, 9), 0);
    EXPECT_EQ(Send(WM_CHAR, 'a', 1), 0);
    Reader r;
    const std::string def = kTextUnit == 2 ? "DefWindowProcW" : "DefWindowProcA";
    r.Next(def, {H(Bench.MainWindow), WM_PAINT_, 7, 9});
    r.Next(def, {H(Bench.MainWindow), WM_CHAR, 'a', 1});
    EXPECT_TRUE(r.AtEnd());
}

} // namespace
