#include "Process.h"

#include <string>

volatile LONG Interrupted;

void StopRun(StopReason reason) {
    InterlockedCompareExchange(&Interrupted, reason, 0);
}

static BOOL WINAPI OnConsoleEvent(DWORD event) {
    StopRun(CONSOLE_STOPPED);
    // Closing the console ends the process as soon as this returns: the run winds
    // down first (it ends the process itself).
    while (event == CTRL_CLOSE_EVENT) {
        Sleep(1000);
    }
    return TRUE;
}

void StopOnConsoleEvents() {
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

bool PinToProcessor(INT processor, std::string &error) {
#ifdef UNDER_CE
    (void)processor;
    error = "--affinity: the handheld system does not pin a process to a processor";
    return false;
#else
    DWORD_PTR mine, system;
    if (processor >= static_cast<INT>(sizeof(DWORD_PTR) * 8) ||
        !GetProcessAffinityMask(GetCurrentProcess(), &mine, &system) ||
        (system >> processor & 1) == 0) {
        error = "--affinity " + std::to_string(processor) + ": no such logical processor here";
        return false;
    }
    if (!SetProcessAffinityMask(GetCurrentProcess(), static_cast<DWORD_PTR>(1) << processor)) {
        error = "--affinity " + std::to_string(processor) + ": the system refused it";
        return false;
    }
    return true;
#endif
}

bool TakeMeasuringGuard(bool wait) {
    static HANDLE guard = CreateMutexW(nullptr, FALSE, L"Global\\NorvaleQuenzelRunMeasuring");
    if (guard == nullptr && GetLastError() == ERROR_ACCESS_DENIED) {
        guard = CreateMutexW(nullptr, FALSE, L"Local\\NorvaleQuenzelRunMeasuring");
    }
    // A guard that cannot be made at all holds no run back.
    const DWORD got =
        guard == nullptr ? WAIT_OBJECT_0 : WaitForSingleObject(guard, wait ? INFINITE : 0);
    // Abandoned: its holder ended without letting go, and it is this process's now.
    return got == WAIT_OBJECT_0 || got == WAIT_ABANDONED;
}
