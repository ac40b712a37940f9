// Windows CE's view of the platform, for the handheld flavour running on Win32.
// The program is written against coredll; where CE differs from the desktop in a
// value or a call, the name is routed here to CE's value or to a small function
// of CoreDll.cpp that gives the desktop the behaviour the device would have.
#pragma once

// CE is Unicode only.
#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif

#include_next <windows.h>

// CE's thread priorities run from 0 (time critical) to 7 (idle).
#undef THREAD_PRIORITY_TIME_CRITICAL
#undef THREAD_PRIORITY_HIGHEST
#undef THREAD_PRIORITY_ABOVE_NORMAL
#undef THREAD_PRIORITY_NORMAL
#undef THREAD_PRIORITY_BELOW_NORMAL
#undef THREAD_PRIORITY_LOWEST
#undef THREAD_PRIORITY_IDLE
#define THREAD_PRIORITY_TIME_CRITICAL 0
#define THREAD_PRIORITY_HIGHEST 1
#define THREAD_PRIORITY_ABOVE_NORMAL 2
#define THREAD_PRIORITY_NORMAL 3
#define THREAD_PRIORITY_BELOW_NORMAL 4
#define THREAD_PRIORITY_LOWEST 5
#define THREAD_PRIORITY_ABOVE_IDLE 6
#define THREAD_PRIORITY_IDLE 7

// CE's system colour indices carry a flag bit.
#define SYS_COLOR_INDEX_FLAG 0x40000000
#undef COLOR_WINDOW
#define COLOR_WINDOW (5 | SYS_COLOR_INDEX_FLAG)

// The current thread and process are constant pseudo-handles on CE.
#define GetCurrentThread() ((HANDLE)65)
#define GetCurrentProcess() ((HANDLE)66)

BOOL WINAPI CeSetThreadPriority(HANDLE thread, int priority);
BOOL WINAPI CeGetThreadTimes(HANDLE thread, FILETIME *creation, FILETIME *exit, FILETIME *kernel,
                             FILETIME *user);
BOOL WINAPI CeTerminateProcess(HANDLE process, UINT exitCode);
ATOM WINAPI CeRegisterClassW(const WNDCLASSW *windowClass);

#define SetThreadPriority CeSetThreadPriority
#define GetThreadTimes CeGetThreadTimes
#define TerminateProcess CeTerminateProcess
#undef RegisterClass
#define RegisterClass CeRegisterClassW

// CE's WinMain takes the wide command line: on the desktop that is wWinMain.
#define WinMain wWinMain
