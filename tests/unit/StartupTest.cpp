#include "Support.h"

#include "DQuenzel.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPTSTR commandLine, int show);

namespace {

#ifdef UNDER_CE
const std::string A = "W";
constexpr intptr_t kBackground = 0x40000006;
#else
const std::string A = "A";
constexpr intptr_t kBackground = 6;
#endif

const HINSTANCE kInstance = reinterpret_cast<HINSTANCE>(0x400000);

class Startup : public Fresh {
  protected:
    void SetUp() override {
        Fresh::SetUp();
        WindowClass = WNDCLASS{};
        fake::SetScreen(640, 480);
        fake::SetMaximizedClient(640, 442);
        fake::SetClock(0, 10001, 20); // 20 calls, score 2, per test
    }

    // Starts the program; returns its exit code.
    static UINT Run() {
        try {
            WinMain(kInstance, nullptr, nullptr, 1);
        } catch (const fake::ProcessExit &exit) {
            return exit.code;
        }
        ADD_FAILURE() << "WinMain returned";
        return 99;
    }

    // A user who presses F1 on every screen that has a Next or Start button and
    // F2 on the summary.
    static void PressThrough() {
        fake::OnIdle = [] {
            if (fake::TimerArmed(Bench.MainWindow, STEP_TIMER_ID)) {
                return;
            }
            fake::Post(Bench.MainWindow, WM_KEYDOWN, Bench.NextShown ? VK_F1 : VK_F2);
            fake::Post(Bench.MainWindow, WM_KEYUP, Bench.NextShown ? VK_F1 : VK_F2);
        };
    }

    static int Index(const std::string &fn, size_t from = 0) {
        for (size_t i = from; i < fake::Log.size(); i++) {
            if (fake::Log[i].fn == fn) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }
};

TEST_F(Startup, ARunningCopyIsBroughtForwardAndThisOneEnds) {
    const HWND running = fake::AddWindow("QuenzelForm", "Norvale Quenzel");
    EXPECT_EQ(Run(), 0u);
    Reader r;
    const fake::Call &find = r.Next("FindWindow" + A, {});
    EXPECT_EQ(find.text, "QuenzelForm");
    EXPECT_EQ(find.text2, "Norvale Quenzel");
    EXPECT_EQ(find.unit, kTextUnit);
    r.Next("ShowWindow", {H(running), SW_SHOW});
    r.Next("SetForegroundWindow", {H(running)});
    EXPECT_EQ(Index("RegisterClass" + A), -1);
    EXPECT_EQ(Index("CreateWindowEx" + A), -1);
    EXPECT_EQ(fake::LiveChildren(nullptr).size(), 1u) << "no second window";
}

TEST_F(Startup, OnlyAWindowMatchingClassAndTitleStopsTheStart) {
    fake::AddWindow("QuenzelForm", "Another title");
    fake::AddWindow("OtherForm", "Norvale Quenzel");
    PressThrough();
    EXPECT_EQ(Run(), 0u);
    EXPECT_NE(Index("RegisterClass" + A), -1);
}

TEST_F(Startup, FailedRegistrationShowsTheFatalBoxAndExitsWithOne) {
    fake::FailRegisterClass = true;
    EXPECT_EQ(Run(), 1u);
    Reader r;
    r.Find("RegisterClass" + A);
    const fake::Call &box = r.Next("MessageBox" + A, {0, 0x41010});
    EXPECT_EQ(box.text, "Error in RegisterClass");
    EXPECT_EQ(box.text2, "Fatal Error");
    EXPECT_EQ(box.unit, kTextUnit);
#ifdef UNDER_CE
    r.Next("TerminateProcess", {66, 1});
#else
    r.Next("ExitProcess", {1});
#endif
    EXPECT_TRUE(r.AtEnd());
}

TEST_F(Startup, UnusableWindowOrTimerIsFatalInsteadOfAHang) {
    fake::FailCreateWindow = true;
    EXPECT_EQ(Run(), 1u);
    EXPECT_EQ(fake::Log[Index("MessageBox" + A)].text, "Error in CreateWindow");
    EXPECT_EQ(Index("GetMessage" + A), -1);

    SetUp();
    fake::FailSetTimer = true;
    EXPECT_EQ(Run(), 1u);
    EXPECT_EQ(fake::Log[Index("MessageBox" + A)].text, "Error in SetTimer");
    EXPECT_EQ(Index("GetMessage" + A), -1);
}

TEST_F(Startup, ClassWindowSizeSourceBitmapAndTimerInOrder) {
    int childrenAtFirstWait = -1, stepAtFirstWait = -1;
    fake::OnIdle = [&] {
        childrenAtFirstWait = static_cast<int>(fake::LiveChildren(Bench.MainWindow).size());
        stepAtFirstWait = Bench.StepIndex;
        fake::OnIdle = nullptr;
        PressThrough();
    };
    EXPECT_EQ(Run(), 0u);
    EXPECT_EQ(childrenAtFirstWait, 0);
    EXPECT_EQ(stepAtFirstWait, 0);

    Reader r;
    r.Next("FindWindow" + A, {});
    const intptr_t icon = r.Next("LoadIcon" + A, {0, 32512}).ret;
    const intptr_t cursor = r.Next("LoadCursor" + A, {0, 32512}).ret;
    const fake::Call &reg = r.Next(
        "RegisterClass" + A, {0, H(MainWndProc), 0, 0, H(kInstance), icon, cursor, kBackground, 0});
    EXPECT_EQ(reg.text, "QuenzelForm");
#ifndef UNDER_CE
    r.Next("DisableProcessWindowsGhosting", {});
#endif
    const fake::Call &create =
        r.Next("CreateWindowEx" + A, {WS_EX_TOPMOST, 0x10000000, CW_USEDEFAULT, CW_USEDEFAULT,
                                      CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, H(kInstance), 0});
    EXPECT_EQ(create.text, "QuenzelForm");
    EXPECT_EQ(create.text2, "Norvale Quenzel");
    const intptr_t main = create.ret;
#ifdef UNDER_CE
    r.Next("ShowWindow", {main, SW_SHOWNORMAL});
    r.Next("SHFullScreen", {main, 0x2A});
    r.Next("GetSystemMetrics", {SM_CXSCREEN});
    r.Next("GetSystemMetrics", {SM_CYSCREEN});
    r.Next("MoveWindow", {main, 0, 0, 640, 480, TRUE});
    const Args size = {640, 480};
#else
    r.Next("ShowWindow", {main, SW_MAXIMIZE});
    r.Next("GetClientRect", {main});
    const Args size = {640, 442};
#endif
    EXPECT_EQ((Args{Bench.ScreenWidth, Bench.ScreenHeight}), size);
    const intptr_t screen = r.Next("GetDC", {0}).ret;
    EXPECT_EQ(r.Find("CreateCompatibleBitmap").args, (Args{screen, size[0], size[1]}));
    r.Find("ReleaseDC");
    r.Next("SetTimer", {main, 1, 10, 0});
    r.Next("GetMessage" + A, {0, 0, 0, WM_TIMER});
    r.Next("TranslateMessage", {WM_TIMER});
    r.Next("DispatchMessage" + A, {main, WM_TIMER});
}

TEST_F(Startup, WholeRunThenTeardownInOrderAndExitZero) {
    PressThrough();
    EXPECT_EQ(Run(), 0u);
    for (int i = 1; i <= TEST_COUNT; i++) {
        EXPECT_EQ(Bench.TestResults[i], 2) << i;
    }
    EXPECT_EQ(Bench.StepIndex, 8);

    const int quit = Index("GetMessage" + A, Index("PostQuitMessage"));
    ASSERT_NE(quit, -1);
    EXPECT_EQ(fake::Log[quit].ret, 0);
    Reader r(quit + 1);
    r.Next("SelectObject", {H(Bench.SourceDC), H(Bench.SourceOldBitmap)});
    r.Next("DeleteDC", {H(Bench.SourceDC)});
    r.Next("DeleteObject", {H(Bench.SourceBitmap)});
#ifdef UNDER_CE
    r.Next("TerminateProcess", {66, 0});
#else
    r.Next("ExitProcess", {0});
#endif
    EXPECT_TRUE(r.AtEnd());
    for (int kind = 0; kind < fake::KindCount; kind++) {
        EXPECT_EQ(fake::Live(static_cast<fake::Kind>(kind)), 0) << kind;
    }
}

} // namespace
