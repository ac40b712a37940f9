// A recording stand-in for the Win32 (and, with UNDER_CE, Windows CE) calls that the
// natively tested code makes. Types have their Win32 sizes; each generic name is the
// call itself, in the text width of the flavour it is built for. It also gives
// the tests the log, the objects, the windows and the clock (namespace fake).
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#ifdef UNDER_CE
#define UNICODE // Windows CE is Unicode only
#endif

#define WINAPI
#define CALLBACK
#define TRUE 1
#define FALSE 0

typedef int BOOL;
typedef unsigned char BYTE;
typedef uint16_t WORD, ATOM;
typedef uint32_t DWORD, UINT, UINT32, COLORREF;
typedef int32_t LONG, INT;
typedef int64_t INT64;
typedef uint64_t UINT64;
typedef char CHAR;
typedef char16_t WCHAR; // UTF-16 units: the host's 32-bit wchar_t must not leak in
typedef uintptr_t UINT_PTR, WPARAM, DWORD_PTR;
typedef intptr_t LPARAM, LRESULT, INT_PTR;
typedef void *HANDLE, *HGDIOBJ;
struct Handle__ {};
typedef Handle__ *HWND, *HDC, *HPEN, *HBRUSH, *HFONT, *HBITMAP, *HINSTANCE, *HICON, *HMENU;
typedef HICON HCURSOR;

#ifdef UNICODE
typedef WCHAR TCHAR;
#define TEXT(quote) u##quote
#else
typedef CHAR TCHAR;
#define TEXT(quote) quote
#endif
typedef TCHAR *LPTSTR;

#define LOWORD(l) ((WORD)(((DWORD_PTR)(l)) & 0xffff))
#define RGB(r, g, b) ((COLORREF)((BYTE)(r) | ((WORD)((BYTE)(g)) << 8) | (((DWORD)(BYTE)(b)) << 16)))

struct RECT {
    LONG left, top, right, bottom;
};
struct POINT {
    LONG x, y;
};
struct LOGFONT {
    LONG lfHeight, lfWidth, lfEscapement, lfOrientation, lfWeight;
    BYTE lfItalic, lfUnderline, lfStrikeOut, lfCharSet, lfOutPrecision, lfClipPrecision, lfQuality,
        lfPitchAndFamily;
    TCHAR lfFaceName[32];
};
typedef LRESULT(CALLBACK *WNDPROC)(HWND, UINT, WPARAM, LPARAM);
struct WNDCLASS {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra, cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    const TCHAR *lpszMenuName, *lpszClassName;
};
struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};

enum : int { PS_SOLID, PS_DASH, TRANSPARENT = 1, OPAQUE, SRCCOPY = 0xCC0020, ETO_OPAQUE = 2 };
enum : int { DEFAULT_CHARSET = 1, OUT_DEFAULT_PRECIS = 0, CLIP_DEFAULT_PRECIS = 0 };
enum : int { PROOF_QUALITY = 2, DEFAULT_PITCH = 0, FF_DONTCARE = 0, FW_BOLD = 700, FW_HEAVY = 900 };
enum : int { TA_LEFT = 0, TA_TOP = 0, TA_NOUPDATECP = 0, TA_CENTER = 6 };
enum : int { WM_DESTROY = 2, WM_CLOSE = 0x10, WM_QUIT = 0x12, WM_KEYDOWN = 0x100, WM_KEYUP };
enum : int { WM_COMMAND = 0x111, WM_TIMER = 0x113, VK_F1 = 0x70, VK_F2 };
enum : int { WS_VISIBLE = 0x10000000, WS_CHILD = 0x40000000, WS_EX_TOPMOST = 8, BS_PUSHBUTTON = 0 };
enum : DWORD { ERROR_ALREADY_EXISTS = 183 };
enum : int { CW_USEDEFAULT = INT32_MIN, SW_SHOWNORMAL = 1, SW_MAXIMIZE = 3, SW_SHOW = 5 };
enum : int { SM_CXSCREEN, SM_CYSCREEN, CP_ACP = 0 };
enum : int { MB_OK = 0, MB_ICONHAND = 0x10, MB_SYSTEMMODAL = 0x1000, MB_TOPMOST = 0x40000 };
#define IDI_APPLICATION ((const TCHAR *)32512)
#define IDC_ARROW ((const TCHAR *)32512)

#ifdef UNDER_CE
// CE's own values: a flagged system colour, priorities 0 (time critical) to 7, and
// the current thread and process as constant pseudo-handles.
#define COLOR_WINDOW (5 | 0x40000000)
enum : int { THREAD_PRIORITY_TIME_CRITICAL = 0, THREAD_PRIORITY_NORMAL = 3 };
#define GetCurrentThread() ((HANDLE)65)
#define GetCurrentProcess() ((HANDLE)66)
#else
#define COLOR_WINDOW 5
enum : int { THREAD_PRIORITY_TIME_CRITICAL = 15, THREAD_PRIORITY_NORMAL = 0 };
#define GetCurrentThread() ((HANDLE)-2)
#define GetCurrentProcess() ((HANDLE)-1)
#endif

// The machinery behind the calls, and what the tests see of it.
namespace fake {

enum Kind { Pen, Brush, Font, Bitmap, Dc };
template <typename T> intptr_t N(T value) {
    if constexpr (std::is_pointer_v<T>) {
        return reinterpret_cast<intptr_t>(value);
    } else {
        return static_cast<intptr_t>(value);
    }
}
template <typename C> std::string Narrow(const C *text, intptr_t length = -1) {
    std::string out;
    for (intptr_t i = 0; text != nullptr && (length < 0 ? text[i] != 0 : i < length); i++) {
        const bool ascii = static_cast<std::make_unsigned_t<C>>(text[i]) < 0x80;
        out += ascii ? static_cast<char>(text[i]) : '?';
    }
    return out;
}

struct Call {
    std::string fn;
    std::vector<intptr_t> args; // numbers as passed, handles as their values
    std::string text;           // a text argument, one char per unit
};
// An object, and for a DC what it holds: the selected pen, brush, font and bitmap,
// then its text colour, background colour, background mode and text alignment.
struct Object {
    Kind kind;
    bool alive;
    std::vector<intptr_t> dc;
};
struct Window {
    std::string className, title;
    HWND parent;
    intptr_t id;
    RECT place; // left, top, width, height
    WNDPROC proc;
    bool alive;
};
struct ProcessExit { // thrown where the process would end
    UINT code;
};

inline std::vector<Call> Log; // every logged call since Reset, in order
// Misuse that the real system would punish: a dead or unknown handle.
inline std::vector<std::string> Faults;
inline std::function<void()> OnIdle; // GetMessage finds the queue empty
inline bool FailRegisterClass, FailCreateWindow, FailSetTimer;
inline bool MutexTaken; // by another process: made already, or by this one
inline DWORD LastError;
inline std::deque<MSG> Queue;
inline std::set<std::pair<HWND, UINT_PTR>> Timers;
inline std::map<const void *, Object> Objects;
inline std::map<HWND, Window> Windows;
inline std::map<std::string, WNDPROC> Classes;
inline std::vector<intptr_t> FreshDc;
inline uint64_t Clock[4]; // start, num, den, readings: reading i is start + i * num / den
inline int Screen[2];
inline intptr_t LastHandle;

// Starts afresh: no calls, objects, windows, messages or timers, the clock at 0 and
// moving 1 ms per reading; a screen of that size, whose maximised client area is 40
// pixels less high.
void Reset(int screenWidth = 800, int screenHeight = 600);
int Live(Kind kind); // created (DCs: obtained) and not yet deleted (released)
HWND AddWindow(const std::string &className, const std::string &title, WNDPROC proc = nullptr,
               HWND parent = nullptr, intptr_t id = 0, RECT place = {0, 0, 100, 100});
std::vector<std::string> Children(HWND parent); // the titles of the live ones

inline void Record(const char *fn, std::initializer_list<intptr_t> args,
                   const std::string &text = "") {
    Log.push_back({fn, args, text});
}
template <typename R, typename... A> R Logged(const char *fn, R result, A... args) {
    Record(fn, {N(args)...});
    return result;
}
inline void *New(Kind kind) {
    void *handle = reinterpret_cast<void *>(LastHandle += 16);
    Objects[handle] = {kind, true, FreshDc};
    return handle;
}
bool Alive(const void *handle, const char *fn, bool dc = false); // a fault when not
inline BOOL Drop(HDC dc, const char *fn) {
    return Alive(dc, fn, true) && !(Objects[dc].alive = false);
}
HGDIOBJ Select(HDC dc, HGDIOBJ object);
BOOL Delete(HGDIOBJ object);
inline UINT Set(HDC dc, int field, UINT value) {
    return Alive(dc, "Set", true) ? UINT(std::exchange(Objects[dc].dc[4 + field], value)) : 0;
}
LRESULT Deliver(const MSG &msg);
LRESULT DefaultProc(HWND window, UINT message);
BOOL NextMessage(MSG *msg);
HWND Found(const TCHAR *className, const TCHAR *title);
[[noreturn]] inline void Exit(UINT code) {
    Record("Exit", {code});
    throw ProcessExit{code};
}

} // namespace fake

// One line per call: its result type, name, parameters and what it does, with fn
// standing for its name.
#define CALL(R, name, params, ...)                                                                 \
    inline R name params {                                                                         \
        [[maybe_unused]] const char *fn = #name;                                                   \
        return __VA_ARGS__;                                                                        \
    }
#define NEW(type, kind) static_cast<type>(fake::New(fake::kind))
#define DRAW(...) fake::Logged(fn, static_cast<BOOL>(fake::Alive(dc, fn, true)), dc, __VA_ARGS__)
#define SET(field, value) fake::Logged(fn, fake::Set(dc, field, value), dc, value)

CALL(DWORD, GetTickCount, (),
     fake::Logged(fn, DWORD(fake::Clock[0] + fake::Clock[3]++ * fake::Clock[1] / fake::Clock[2])))
CALL(BOOL, SetThreadPriority, (HANDLE thread, int level), fake::Logged(fn, TRUE, thread, level))
[[noreturn]] inline void ExitProcess(UINT code) {
    fake::Exit(code);
}
CALL(BOOL, TerminateProcess, (HANDLE process, UINT code),
     process == GetCurrentProcess() ? (fake::Exit(code), FALSE) : FALSE)
CALL(int, WideCharToMultiByte,
     (UINT, DWORD, const WCHAR *wide, int length, CHAR *out, int size, const CHAR *, BOOL *),
     static_cast<int>(size == 0 ? fake::Narrow(wide, length).size()
                                : fake::Narrow(wide, length).copy(out, size)))

CALL(HDC, GetDC, (HWND window), fake::Logged(fn, NEW(HDC, Dc), window))
CALL(int, ReleaseDC, (HWND window, HDC dc), fake::Logged(fn, fake::Drop(dc, fn), window, dc))
CALL(HDC, CreateCompatibleDC, (HDC dc), fake::Logged(fn, NEW(HDC, Dc), dc))
CALL(HBITMAP, CreateCompatibleBitmap, (HDC dc, int w, int h),
     fake::Logged(fn, NEW(HBITMAP, Bitmap), dc, w, h))
CALL(BOOL, DeleteDC, (HDC dc), fake::Logged(fn, fake::Drop(dc, fn), dc))
CALL(HPEN, CreatePen, (int style, int width, COLORREF c),
     fake::Logged(fn, NEW(HPEN, Pen), style, width, c))
CALL(HBRUSH, CreateSolidBrush, (COLORREF color), fake::Logged(fn, NEW(HBRUSH, Brush), color))
CALL(HFONT, CreateFontIndirect, (const LOGFONT *f),
     fake::Logged(fn, NEW(HFONT, Font), f->lfHeight, f->lfWidth, f->lfEscapement, f->lfOrientation,
                  f->lfWeight, f->lfItalic, f->lfUnderline, f->lfStrikeOut, f->lfCharSet,
                  f->lfOutPrecision, f->lfClipPrecision, f->lfQuality, f->lfPitchAndFamily,
                  f->lfFaceName[0]))
CALL(HGDIOBJ, SelectObject, (HDC dc, HGDIOBJ object),
     fake::Logged(fn, fake::Select(dc, object), dc, object))
CALL(BOOL, DeleteObject, (HGDIOBJ object), fake::Logged(fn, fake::Delete(object), object))
CALL(COLORREF, SetPixel, (HDC dc, int x, int y, COLORREF color), DRAW(x, y, color))
CALL(BOOL, MoveToEx, (HDC dc, int x, int y, POINT *previous), DRAW(x, y, previous))
CALL(BOOL, LineTo, (HDC dc, int x, int y), DRAW(x, y))
CALL(BOOL, Rectangle, (HDC dc, int left, int top, int right, int bottom),
     DRAW(left, top, right, bottom))
CALL(BOOL, RoundRect, (HDC dc, int left, int top, int right, int bottom, int width, int height),
     DRAW(left, top, right, bottom, width, height))
CALL(BOOL, Ellipse, (HDC dc, int left, int top, int right, int bottom),
     DRAW(left, top, right, bottom))
CALL(BOOL, BitBlt, (HDC dc, int x, int y, int w, int h, HDC from, int fromX, int fromY, DWORD rop),
     fake::Alive(from, fn, true) && DRAW(x, y, w, h, from, fromX, fromY, rop))
CALL(BOOL, ExtTextOut,
     (HDC dc, int x, int y, UINT options, const RECT *r, const TCHAR *text, UINT length,
      const INT *),
     (fake::Record(fn, {fake::N(dc), x, y, options, r->left, r->top, r->right, r->bottom},
                   fake::Narrow(text, length)),
      fake::Alive(dc, fn, true)))
CALL(int, FillRect, (HDC dc, const RECT *r, HBRUSH brush),
     fake::Alive(brush, fn) && DRAW(r->left, r->top, r->right, r->bottom, brush))
CALL(COLORREF, SetTextColor, (HDC dc, COLORREF color), SET(0, color))
CALL(COLORREF, SetBkColor, (HDC dc, COLORREF color), SET(1, color))
CALL(int, SetBkMode, (HDC dc, int mode), static_cast<int>(SET(2, static_cast<UINT>(mode))))
CALL(UINT, SetTextAlign, (HDC dc, UINT align), SET(3, align))

CALL(ATOM, RegisterClass, (const WNDCLASS *c),
     (fake::Record(fn,
                   {c->style, c->cbWndExtra, fake::N(c->lpfnWndProc), fake::N(c->hInstance),
                    fake::N(c->hIcon), fake::N(c->hCursor), fake::N(c->hbrBackground)},
                   fake::Narrow(c->lpszClassName)),
      fake::FailRegisterClass
          ? 0
          : (fake::Classes[fake::Narrow(c->lpszClassName)] = c->lpfnWndProc, 0xC001)))
CALL(HWND, CreateWindowEx,
     (DWORD exStyle, const TCHAR *className, const TCHAR *title, DWORD style, int x, int y, int w,
      int h, HWND parent, HMENU menu, HINSTANCE instance, void *),
     fake::Logged(fn,
                  fake::FailCreateWindow
                      ? nullptr
                      : fake::AddWindow(fake::Narrow(className), fake::Narrow(title),
                                        fake::Classes[fake::Narrow(className)], parent,
                                        fake::N(menu), {x, y, w, h}),
                  exStyle, style, instance))
CALL(HANDLE, CreateMutex, (void *, BOOL, const TCHAR *name),
     (fake::Record(fn, {}, fake::Narrow(name)),
      fake::LastError = std::exchange(fake::MutexTaken, true) ? DWORD(ERROR_ALREADY_EXISTS) : 0,
      reinterpret_cast<HANDLE>(0x3E)))
CALL(DWORD, GetLastError, (), fake::LastError)
CALL(HWND, FindWindow, (const TCHAR *className, const TCHAR *title), fake::Found(className, title))
CALL(BOOL, ShowWindow, (HWND window, int show),
     fake::Logged(fn,
                  show != SW_MAXIMIZE || (fake::Windows.at(window).place = {0, 0, fake::Screen[0],
                                                                            fake::Screen[1] - 40},
                                          true),
                  window, show))
CALL(void, DisableProcessWindowsGhosting, (), fake::Record(fn, {}))
CALL(BOOL, SetForegroundWindow, (HWND window), fake::Logged(fn, TRUE, window))
CALL(BOOL, MoveWindow, (HWND window, int x, int y, int w, int h, BOOL),
     (fake::Windows.at(window).place = {x, y, w, h}, TRUE))
CALL(BOOL, GetClientRect, (HWND window, RECT *r),
     (*r = {0, 0, fake::Windows.at(window).place.right, fake::Windows.at(window).place.bottom},
      TRUE))
CALL(int, GetSystemMetrics, (int index), fake::Screen[index])
CALL(HICON, LoadIcon, (HINSTANCE, const TCHAR *name), reinterpret_cast<HICON>(fake::N(name) + 1))
CALL(HCURSOR, LoadCursor, (HINSTANCE, const TCHAR *name),
     reinterpret_cast<HICON>(fake::N(name) + 2))
CALL(BOOL, GetMessage, (MSG * msg, HWND, UINT, UINT), fake::NextMessage(msg))
CALL(BOOL, TranslateMessage, (const MSG *), FALSE)
CALL(LRESULT, DispatchMessage, (const MSG *msg), fake::Deliver(*msg))
CALL(LRESULT, DefWindowProc, (HWND window, UINT message, WPARAM, LPARAM),
     fake::DefaultProc(window, message))
CALL(LRESULT, SendMessage, (HWND window, UINT message, WPARAM wParam, LPARAM lParam),
     (fake::Record(fn, {fake::N(window), message}),
      fake::Deliver({window, message, wParam, lParam, 0, {}})))
CALL(void, PostQuitMessage, (int code),
     fake::Queue.push_back({nullptr, WM_QUIT, WPARAM(code), 0, 0, {}}))
CALL(UINT_PTR, SetTimer, (HWND window, UINT_PTR id, UINT period, void *),
     fake::Logged(fn, fake::FailSetTimer ? 0 : (fake::Timers.insert({window, id}), id), window, id,
                  period))
CALL(BOOL, KillTimer, (HWND window, UINT_PTR id), fake::Timers.erase({window, id}) != 0)
CALL(int, MessageBox, (HWND owner, const TCHAR *text, const TCHAR *caption, UINT type),
     (fake::Record(fn, {fake::N(owner), type}, fake::Narrow(text) + "|" + fake::Narrow(caption)),
      1))
