// The controller on a real window of the program's window procedure, filling the
// screen as the program's does, and a real message loop.
#include "Bench.h"
#include "DQuenzel.h"
#include "Services.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class Ui : public ::testing::Test {
  protected:
    void SetUp() override {
        Bench = BenchState{};
        WindowClass = WNDCLASS{};
        WindowClass.lpfnWndProc = MainWndProc;
        WindowClass.hInstance = GetModuleHandle(nullptr);
        WindowClass.lpszClassName = TEXT("QuenzelTest");
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
};

// A tick kills its timer and shows Start and Close; a key acts on release; Start
// removes both and arms the next step, which neither Close nor F2 pre-empts; the step
// comes through the message loop and, on the summary, only Close is offered, which
// ends the loop.
TEST_F(Ui, StartStepsAndCloseWaitsForTheStep) {
    SetTimer(Bench.MainWindow, STEP_TIMER_ID, 100000, nullptr);
    Send(WM_TIMER, STEP_TIMER_ID);
    EXPECT_FALSE(KillTimer(Bench.MainWindow, STEP_TIMER_ID));
    const HWND start = Button(TEXT("Start"));
    const HWND close = Button(TEXT("Close"));
    EXPECT_EQ((std::vector<int>{GetDlgCtrlID(start), GetDlgCtrlID(close), Bench.StepIndex}),
              (std::vector<int>{ID_NEXT, ID_CLOSE, 1}));
    Send(WM_KEYDOWN, VK_F1);
    EXPECT_TRUE(IsWindow(start));
    Bench.StepIndex = TEST_COUNT + 1; // the summary next: no test to run
    Send(WM_COMMAND, ID_NEXT | BN_CLICKED << 16);
    EXPECT_FALSE(IsWindow(start) || IsWindow(close));
    Send(WM_KEYUP, VK_F2);
    Send(WM_COMMAND, ID_CLOSE);
    EXPECT_TRUE(IsWindow(Bench.MainWindow)) << "Close waits for the step";

    MSG message;
    while (!Bench.CloseShown && GetMessage(&message, nullptr, 0, 0) > 0) {
        DispatchMessage(&message);
    }
    EXPECT_EQ(Button(TEXT("Next")), nullptr);
    EXPECT_EQ(Bench.ScreenIndex, TEST_COUNT + 1);
    Send(WM_KEYUP, VK_F1);
    EXPECT_FALSE(KillTimer(Bench.MainWindow, STEP_TIMER_ID)) << "the summary is final";
    ASSERT_NE(Button(TEXT("Close")), nullptr);
    Send(WM_KEYUP, VK_F2);
    EXPECT_FALSE(IsWindow(Bench.MainWindow));
    EXPECT_TRUE(PeekMessage(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

// Only a window of both the class and the title is a running copy; with none, the
// program goes on.
TEST_F(Ui, OnlyClassAndTitleTogetherAreARunningCopy) {
    const HWND others[] = {
        CreateWindowEx(0, TEXT("QuenzelTest"), TEXT("Another"), 0, 0, 0, 1, 1, 0, 0, 0, 0),
        CreateWindowEx(0, TEXT("Static"), TEXT("Test"), 0, 0, 0, 1, 1, 0, 0, 0, 0)};
    DestroyWindow(Bench.MainWindow);
    CheckSingleInstance(WIDE("QuenzelTest"), WIDE("Test"));
    for (const HWND other : others) {
        DestroyWindow(other);
    }
}

// Scores as the screens write them, the most negative one too, in the flavour's width.
TEST(Services, DecimalText) {
    EXPECT_EQ(ToText(IntToWStr(-2147483647 - 1) + IntToWStr(0) + IntToWStr(1234570)),
              TEXT("-214748364801234570"));
}

} // namespace
