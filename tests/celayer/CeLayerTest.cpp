// Checks the Windows CE layer against the real Win32 (run under Wine by CTest):
// each CE value or call must have the desktop effect the program relies on.
#include <windows.h>

#include <aygshell.h>

#include <cstdio>

// From here on the names mean the desktop's own calls, to observe the effects.
#undef GetCurrentThread
#undef GetCurrentProcess

static int passed, failed;

static void Check(bool condition, const char *what) {
    std::printf("%s: %s\n", condition ? "ok" : "FAILED", what);
    (condition ? passed : failed)++;
}

static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

int main() {
    CeSetThreadPriority(reinterpret_cast<HANDLE>(65), THREAD_PRIORITY_TIME_CRITICAL);
    Check(GetThreadPriority(GetCurrentThread()) == 15, "CE time critical is the desktop's 15");
    CeSetThreadPriority(reinterpret_cast<HANDLE>(65), THREAD_PRIORITY_NORMAL);
    Check(GetThreadPriority(GetCurrentThread()) == 0, "CE normal is the desktop's 0");
    Check(!CeSetThreadPriority(reinterpret_cast<HANDLE>(65), 8), "no CE priority beyond idle");

    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = Proc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"CeLayerTest";
    Check(COLOR_WINDOW + 1 == 0x40000006, "CE's window colour carries the system-colour flag");
    Check(CeRegisterClassW(&windowClass) != 0, "a class with CE's background registers");
    const HWND window = CreateWindowExW(0, L"CeLayerTest", L"CE layer", WS_VISIBLE, CW_USEDEFAULT,
                                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                                        nullptr, windowClass.hInstance, nullptr);
    Check(GetClassLongPtrW(window, GCLP_HBRBACKGROUND) == 6,
          "the desktop class gets the window colour's brush value");

    SHFullScreen(window, SHFS_HIDETASKBAR | SHFS_HIDESIPBUTTON | SHFS_HIDESTARTICON);
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    MoveWindow(window, 0, 0, width, height, TRUE);
    RECT client;
    GetClientRect(window, &client);
    Check(client.right == width && client.bottom == height,
          "after SHFullScreen and MoveWindow the client area is the screen");
    Check((GetWindowLongW(window, GWL_STYLE) & WS_CAPTION) == 0, "full screen has no caption");
    DestroyWindow(window);

    std::printf("%d passed, %d failed\n", passed, failed);
    std::fflush(stdout);
    // Ends the real process through CE's pseudo-handle; the code tells the outcome
    // (42: all passed), which also shows that the code reaches the desktop.
    CeTerminateProcess(reinterpret_cast<HANDLE>(66), failed == 0 ? 42 : 1);
    return 3;
}
