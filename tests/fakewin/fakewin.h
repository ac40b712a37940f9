// What unit tests see of the recording stand-in: the call log, live GDI objects,
// each DC's state, a settable tick counter and a small window manager.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace fake {

using Args = std::vector<intptr_t>;

template <typename T> intptr_t H(T handle) {
    return reinterpret_cast<intptr_t>(handle);
}

struct Call {
    std::string fn;
    Args args;         // numbers as passed; handles as their values
    std::string text;  // a text argument, one char per unit
    std::string text2; // a second text argument (window title, box caption)
    int unit = 0;      // bytes per unit of text: 1 for "A" calls, 2 for "W" calls
    intptr_t ret = 0;
};

// Every call made since Reset, in order; inspected by the tests.
extern std::vector<Call> Log;
// Misuse that real Win32 would punish: unknown handles, deleting a selected
// object, releasing or deleting a DC that still holds a created object.
extern std::vector<std::string> Faults;
// Runs after each logged call.
extern std::function<void(const Call &)> OnCall;
// Runs when GetMessage finds the queue empty, before any timer is considered.
extern std::function<void()> OnIdle;

enum Kind { Pen, Brush, Font, Bitmap, Dc, KindCount };

// Starts afresh: empty log, no objects, windows, classes, messages or timers.
// Faults are kept, so that a test that starts afresh several times sees them all.
void Reset();
// Objects of that kind created and not yet deleted (DCs: obtained, not released).
int Live(Kind kind);

struct DcState {
    HGDIOBJ pen, brush, font, bitmap;
    COLORREF textColor, bkColor;
    int bkMode;
    UINT align;
};
DcState State(HDC dc);
// The objects a fresh DC holds.
HGDIOBJ StockObject(Kind kind);

// Reading i of GetTickCount (from 0) returns start + floor(i * num / den), modulo 2^32.
void SetClock(DWORD start, uint64_t num, uint64_t den = 1);
int ClockReadings();

// The window system.
void SetScreen(int width, int height);
// The client size a maximised top-level window gets.
void SetMaximizedClient(int width, int height);
// Make the next calls of these fail.
extern bool FailRegisterClass, FailCreateWindow, FailSetTimer;
HWND AddWindow(const std::string &className, const std::string &title);
struct Window {
    std::string className, title;
    HWND parent;
    intptr_t id;
    DWORD style, exStyle;
    int x, y, width, height;
    bool alive;
};
const Window &WindowOf(HWND window);
std::vector<HWND> LiveChildren(HWND parent);
void Post(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
bool TimerArmed(HWND window, UINT_PTR id);
std::deque<MSG> &Queue();

// Thrown where the process would end.
struct ProcessExit {
    UINT code;
};

} // namespace fake
