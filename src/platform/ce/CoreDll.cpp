// The few Windows CE calls whose behaviour differs from Win32, given the device's
// behaviour on top of Win32 so that the handheld flavour runs on the desktop.
#include <windows.h>

#include <aygshell.h>

// From here on the names mean the desktop's own calls.
#undef SetThreadPriority
#undef GetThreadTimes
#undef TerminateProcess
#undef GetCurrentThread
#undef GetCurrentProcess

// CE's pseudo-handles for the current thread (65) and process (66).
static HANDLE DesktopHandle(HANDLE handle) {
    if (handle == reinterpret_cast<HANDLE>(65)) {
        return GetCurrentThread();
    }
    if (handle == reinterpret_cast<HANDLE>(66)) {
        return GetCurrentProcess();
    }
    return handle;
}

BOOL WINAPI CeSetThreadPriority(HANDLE thread, int priority) {
    // CE's levels 0 (time critical) to 7 (idle) as the desktop's relative priorities;
    // the desktop has nothing between lowest and idle, so "above idle" is lowest.
    static const int desktop[] = {15, 2, 1, 0, -1, -2, -2, -15};
    if (priority < 0 || priority > 7) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return SetThreadPriority(DesktopHandle(thread), desktop[priority]);
}

BOOL WINAPI CeGetThreadTimes(HANDLE thread, FILETIME *creation, FILETIME *exit, FILETIME *kernel,
                             FILETIME *user) {
    return GetThreadTimes(DesktopHandle(thread), creation, exit, kernel, user);
}

BOOL WINAPI CeTerminateProcess(HANDLE process, UINT exitCode) {
    return TerminateProcess(DesktopHandle(process), exitCode);
}

ATOM WINAPI CeRegisterClassW(const WNDCLASSW *windowClass) {
    // The device never swaps a busy window for a frozen copy; the desktop would,
    // when input arrives during a ten-second test. Registration comes before any
    // window is made.
    DisableProcessWindowsGhosting();
    // A background of a system colour index + 1 carries CE's flag bit; the desktop
    // takes the bare value.
    WNDCLASSW desktop = *windowClass;
    const UINT_PTR background = reinterpret_cast<UINT_PTR>(desktop.hbrBackground);
    if ((background & ~static_cast<UINT_PTR>(0xFF)) == SYS_COLOR_INDEX_FLAG) {
        desktop.hbrBackground = reinterpret_cast<HBRUSH>(background & ~SYS_COLOR_INDEX_FLAG);
    }
    return RegisterClassW(&desktop);
}

// On the device, hiding the task bar lets a window cover the whole screen. On the
// desktop the window must also lose its caption and frame, so that after it is
// moved to the screen's size its client area is exactly the screen.
BOOL WINAPI SHFullScreen(HWND window, DWORD state) {
    if ((state & SHFS_HIDETASKBAR) == 0) {
        return TRUE;
    }
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    SetWindowLongW(window, GWL_STYLE, (style & ~(WS_CAPTION | WS_THICKFRAME)) | WS_POPUP);
    const LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
    SetWindowLongW(window, GWL_EXSTYLE,
                   exStyle & ~(WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME));
    return SetWindowPos(window, nullptr, 0, 0, 0, 0,
                        SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
}
