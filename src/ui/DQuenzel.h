// The main program module: start-up, the message loop and the sequence controller.
#pragma once

#include "UTypes.h"

// The one-shot step timer: each tick performs one step of the sequence.
constexpr UINT_PTR STEP_TIMER_ID = 1;
constexpr UINT STEP_TIMER_MS = 10;

// Control identifiers of the two buttons.
constexpr INT ID_NEXT = 1025;
constexpr INT ID_CLOSE = 1026;

// The main window's class, filled at start-up; its hInstance is the program's.
extern WNDCLASS WindowClass;

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Start/Next or F1: removes the buttons, clears the screen and arms the next step.
void OnNext();

// Close or F2: closes the main window, which ends the program.
void OnClose();
