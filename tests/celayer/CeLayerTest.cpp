// Checks the Windows CE layer against the real Win32 (run under Wine by CTest):
// each CE value or call must have the desktop effect the program relies on. Ends
// through CE's process pseudo-handle with 42 when all passed.
#include <windows.h>

#include <aygshell.h>

#include <cstdio>

#undef GetCurrentThread // from here on, the desktop's own call

static int failed;

static void Check(bool condition, const char *what) {
    std::printf("%s: %s\n", condition ? "ok" : "FAILED", what);
    failed += !condition;
}

int main() {
    CeSetThreadPriority(reinterpret_cast<HANDLE>(65), THREAD_PRIORITY_TIME_CRITICAL);
    Check(GetThreadPriority(GetCurrentThread()) == 15, "CE time critical is the desktop's 15");
    CeSetThreadPriority(reinterpret_cast<HANDLE>(65), THREAD_PRIORITY_NORMAL);
    Check(GetThreadPriority(GetCurrentThread()) == 0, "CE normal is the desktop's 0");
    Check(!CeSetThreadPriority(reinterpret_cast<HANDLE>(65), 8), "no CE priority beyond idle");

    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1); // CE's flagged value
    windowClass.lpszClassName = L"CeLayerTest";
    Check(CeRegisterClassW(&windowClass) != 0, "a class with CE's background registers");
    const HWND window = CreateWindowExW(0, L"CeLayerTest", L"CE layer", WS_VISIBLE, CW_USEDEFAULT,
                                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                                        nullptr, windowClass.hInstance, nullptr);
    Check(GetClassLongPtrW(window, GCLP_HBRBACKGROUND) == 6, "the desktop's window colour brush");

    SHFullScreen(window, SHFS_HIDETASKBAR | SHFS_HIDESIPBUTTON | SHFS_HIDESTARTICON);
    MoveWindow(window, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), TRUE);
    RECT client;
    GetClientRect(window, &client);
    Check(client.right == GetSystemMetrics(SM_CXSCREEN) &&
              client.bottom == GetSystemMetrics(SM_CYSCREEN),
          "full screen: the client area is the screen");
    std::fflush(stdout);
    CeTerminateProcess(reinterpret_cast<HANDLE>(66), failed == 0 ? 42 : 1);
    return 3;
}
