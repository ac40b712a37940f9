// Start-up, message loop and teardown.
#include "DQuenzel.h"

#include "Bench.h"
#include "Services.h"
#include "SourceBitmap.h"

WNDCLASS WindowClass;
static MSG Message;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPTSTR, int) {
    CheckSingleInstance(WIDE("QuenzelForm"), WIDE("Norvale Quenzel"));

    WindowClass.style = 0;
    WindowClass.lpfnWndProc = MainWndProc;
    WindowClass.cbClsExtra = 0;
    WindowClass.cbWndExtra = 0;
    WindowClass.hInstance = instance;
    WindowClass.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    // The arrow on both: a stylus device shows no cursor, a desktop shows the arrow.
    WindowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    WindowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    WindowClass.lpszMenuName = nullptr;
    WindowClass.lpszClassName = TEXT("QuenzelForm");
    if (LOWORD(RegisterClass(&WindowClass)) == 0) {
        FatalError(nullptr, WIDE("Error in RegisterClass"));
    }

    Bench.MainWindow = CreateMainWindow(TEXT("QuenzelForm"), TEXT("Norvale Quenzel"), instance);
    // Without a window nothing would ever end the message loop.
    if (Bench.MainWindow == nullptr) {
        FatalError(nullptr, WIDE("Error in CreateWindow"));
    }

    Bench.StepIndex = 0;
    SetupSourceBitmap();
    // Without the first tick the intro would never appear and no button could act.
    if (SetTimer(Bench.MainWindow, STEP_TIMER_ID, STEP_TIMER_MS, nullptr) == 0) {
        FatalError(nullptr, WIDE("Error in SetTimer"));
    }

    // 0 is the quit message; -1 (an error) must not loop for ever either.
    while (GetMessage(&Message, nullptr, 0, 0) > 0) {
        TranslateMessage(&Message);
        DispatchMessage(&Message);
    }

    ReleaseSourceBitmap();
    EndProcess(0);
    return 0;
}
