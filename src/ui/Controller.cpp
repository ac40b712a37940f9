// The sequence controller: intro, the seven tests each followed by its result,
// then the summary; one step per tick of the one-shot step timer.
#include "Bench.h"
#include "DQuenzel.h"
#include "Screens.h"
#include "Services.h"

constexpr INT BUTTON_WIDTH = 80;
constexpr INT BUTTON_HEIGHT = 22;

// A push button 32 pixels above the bottom edge.
static HWND CreateButton(const TCHAR *caption, INT x, INT id) {
    return CreateWindowEx(0, TEXT("button"), caption, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, x,
                          Bench.ScreenHeight - 32, BUTTON_WIDTH, BUTTON_HEIGHT, Bench.MainWindow,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), WindowClass.hInstance,
                          nullptr);
}

static void Step(HWND window) {
    KillTimer(window, STEP_TIMER_ID);
    if (Bench.StepIndex > TEST_COUNT) {
        Bench.ScreenIndex = Bench.StepIndex;
        ClearScreen();
        PaintScreen();
    } else {
        if (Bench.StepIndex > 0) {
            RunTest();
        }
        ClearScreen();
        Bench.ScreenIndex = Bench.StepIndex;
        PaintScreen();
        Bench.NextButton =
            CreateButton(Bench.StepIndex > 0 ? TEXT("Next") : TEXT("Start"), 16, ID_NEXT);
        Bench.NextShown = true;
        Bench.StepIndex++;
    }
    Bench.CloseButton = CreateButton(TEXT("Close"), Bench.ScreenWidth - 96, ID_CLOSE);
    Bench.CloseShown = true;
}

void OnNext() {
    if (!Bench.NextShown) {
        return;
    }
    // Whenever the Start/Next button exists, so does the Close button.
    SendMessage(Bench.NextButton, WM_CLOSE, 0, 0);
    Bench.NextShown = false;
    SendMessage(Bench.CloseButton, WM_CLOSE, 0, 0);
    Bench.CloseShown = false;
    ClearScreen();
    // Without this tick the step would never come and no button would be left to act.
    if (SetTimer(Bench.MainWindow, STEP_TIMER_ID, STEP_TIMER_MS, nullptr) == 0) {
        FatalError(nullptr, WIDE("Error in SetTimer"));
    }
}

void OnClose() {
    if (Bench.CloseShown) {
        SendMessage(Bench.MainWindow, WM_CLOSE, 0, 0);
    }
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_KEYDOWN:
        // Keys act on release; the press is swallowed.
        return 0;
    case WM_KEYUP:
        if (wParam == VK_F1) {
            OnNext();
        } else if (wParam == VK_F2) {
            OnClose();
        }
        return 0;
    case WM_COMMAND:
        // Any notification of the buttons acts; other identifiers are ignored.
        if (LOWORD(wParam) == ID_NEXT) {
            OnNext();
        } else if (LOWORD(wParam) == ID_CLOSE) {
            OnClose();
        }
        return 0;
    case WM_TIMER:
        Step(window);
        return 0;
    default:
        return DefWindowProc(window, message, wParam, lParam);
    }
}
