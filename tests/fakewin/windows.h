// Recording stand-in for the Win32 (and, with UNDER_CE, Windows CE) operations the
// program uses, for unit tests on the build host. Types have their Win32 sizes;
// fakewin.h gives tests access to the call log, object counts and the clock.
#pragma once

#include <cstddef>
#include <cstdint>

#ifdef UNDER_CE
// Windows CE is Unicode only: the generic names are the "W" forms there.
#ifndef UNICODE
#define UNICODE
#endif
#endif

#define WINAPI
#define CALLBACK
#define CONST const
#define VOID void
#define TRUE 1
#define FALSE 0

typedef int BOOL;
typedef unsigned char BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef int32_t INT;
typedef uint32_t UINT;
typedef int32_t INT32;
typedef uint32_t UINT32;
typedef int64_t INT64;
typedef uint64_t UINT64;
typedef char CHAR;
// UTF-16 code units, as on Windows; the host's wchar_t is 32-bit and must not leak in.
typedef char16_t WCHAR;
typedef uintptr_t UINT_PTR, WPARAM, ULONG_PTR;
typedef intptr_t LONG_PTR, LPARAM, LRESULT, INT_PTR;
typedef DWORD COLORREF;
typedef WORD ATOM;
typedef CHAR *LPSTR;
typedef const CHAR *LPCSTR;
typedef WCHAR *LPWSTR;
typedef const WCHAR *LPCWSTR;
typedef void *HANDLE;
typedef void *HGDIOBJ;

#define DECLARE_HANDLE(name)                                                                       \
    struct name##__ {                                                                              \
        int unused;                                                                                \
    };                                                                                             \
    typedef struct name##__ *name
DECLARE_HANDLE(HWND);
DECLARE_HANDLE(HDC);
DECLARE_HANDLE(HPEN);
DECLARE_HANDLE(HBRUSH);
DECLARE_HANDLE(HFONT);
DECLARE_HANDLE(HBITMAP);
DECLARE_HANDLE(HINSTANCE);
DECLARE_HANDLE(HICON);
DECLARE_HANDLE(HMENU);
typedef HICON HCURSOR;

static_assert(sizeof(LONG) == 4 && sizeof(DWORD) == 4 && sizeof(WORD) == 2, "Win32 sizes");
static_assert(sizeof(WCHAR) == 2 && sizeof(COLORREF) == 4, "Win32 sizes");

#ifdef UNICODE
typedef WCHAR TCHAR;
#define TEXT(quote) u##quote
#else
typedef CHAR TCHAR;
#define TEXT(quote) quote
#endif
typedef TCHAR *LPTSTR;

#define LOWORD(l) ((WORD)(((DWORD_PTR)(l)) & 0xffff))
typedef uintptr_t DWORD_PTR;
#define RGB(r, g, b)                                                                               \
    ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))
#define MAKEINTRESOURCEA(i) ((LPSTR)((ULONG_PTR)((WORD)(i))))
#define MAKEINTRESOURCEW(i) ((LPWSTR)((ULONG_PTR)((WORD)(i))))

struct RECT {
    LONG left, top, right, bottom;
};
typedef RECT *LPRECT;
struct POINT {
    LONG x, y;
};
typedef POINT *LPPOINT;

#define LF_FACESIZE 32
struct LOGFONTA {
    LONG lfHeight, lfWidth, lfEscapement, lfOrientation, lfWeight;
    BYTE lfItalic, lfUnderline, lfStrikeOut, lfCharSet, lfOutPrecision, lfClipPrecision, lfQuality,
        lfPitchAndFamily;
    CHAR lfFaceName[LF_FACESIZE];
};
struct LOGFONTW {
    LONG lfHeight, lfWidth, lfEscapement, lfOrientation, lfWeight;
    BYTE lfItalic, lfUnderline, lfStrikeOut, lfCharSet, lfOutPrecision, lfClipPrecision, lfQuality,
        lfPitchAndFamily;
    WCHAR lfFaceName[LF_FACESIZE];
};

typedef LRESULT(CALLBACK *WNDPROC)(HWND, UINT, WPARAM, LPARAM);
typedef void(CALLBACK *TIMERPROC)(HWND, UINT, UINT_PTR, DWORD);

struct WNDCLASSA {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra, cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
};
struct WNDCLASSW {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra, cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCWSTR lpszMenuName;
    LPCWSTR lpszClassName;
};

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};
typedef MSG *LPMSG;

// Constants.
#define PS_SOLID 0
#define PS_DASH 1
#define SRCCOPY (DWORD)0x00CC0020
#define ETO_OPAQUE 0x0002
#define DEFAULT_CHARSET 1
#define OUT_DEFAULT_PRECIS 0
#define CLIP_DEFAULT_PRECIS 0
#define PROOF_QUALITY 2
#define DEFAULT_PITCH 0
#define FF_DONTCARE (0 << 4)
#define FW_BOLD 700
#define FW_HEAVY 900
#define TRANSPARENT 1
#define OPAQUE 2
#define TA_LEFT 0
#define TA_TOP 0
#define TA_NOUPDATECP 0
#define TA_CENTER 6

#define WM_DESTROY 0x0002
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_CHAR 0x0102
#define WM_COMMAND 0x0111
#define WM_TIMER 0x0113
#define VK_F1 0x70
#define VK_F2 0x71
#define VK_F3 0x72
#define BN_CLICKED 0

#define WS_VISIBLE 0x10000000L
#define WS_CHILD 0x40000000L
#define WS_EX_TOPMOST 0x00000008L
#define BS_PUSHBUTTON 0x00000000L
#define CW_USEDEFAULT ((int)0x80000000)
#define SW_SHOWNORMAL 1
#define SW_MAXIMIZE 3
#define SW_SHOW 5
#define SM_CXSCREEN 0
#define SM_CYSCREEN 1
#define MB_OK 0x00000000L
#define MB_ICONHAND 0x00000010L
#define MB_SYSTEMMODAL 0x00001000L
#define MB_TOPMOST 0x00040000L
#define CP_ACP 0

#ifdef UNDER_CE
// Windows CE's own values: its system colour indices carry a flag, its priorities
// run from 0 (time critical) to 7 (idle), and the current thread and process are
// constant pseudo-handles.
#define SYS_COLOR_INDEX_FLAG 0x40000000
#define COLOR_WINDOW (5 | SYS_COLOR_INDEX_FLAG)
#define THREAD_PRIORITY_TIME_CRITICAL 0
#define THREAD_PRIORITY_NORMAL 3
#define GetCurrentThread() ((HANDLE)65)
#define GetCurrentProcess() ((HANDLE)66)
#else
#define COLOR_WINDOW 5
#define THREAD_PRIORITY_TIME_CRITICAL 15
#define THREAD_PRIORITY_NORMAL 0
HANDLE WINAPI GetCurrentThread();
HANDLE WINAPI GetCurrentProcess();
#endif

#ifdef UNICODE
#define IDI_APPLICATION MAKEINTRESOURCEW(32512)
#define IDC_ARROW MAKEINTRESOURCEW(32512)
#else
#define IDI_APPLICATION MAKEINTRESOURCEA(32512)
#define IDC_ARROW MAKEINTRESOURCEA(32512)
#endif

// Kernel.
DWORD WINAPI GetTickCount();
BOOL WINAPI SetThreadPriority(HANDLE thread, int priority);
[[noreturn]] void WINAPI ExitProcess(UINT code);
BOOL WINAPI TerminateProcess(HANDLE process, UINT code);
int WINAPI WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideLength,
                               LPSTR narrow, int narrowSize, LPCSTR defaultChar, BOOL *usedDefault);

// GDI.
HDC WINAPI GetDC(HWND window);
int WINAPI ReleaseDC(HWND window, HDC dc);
HDC WINAPI CreateCompatibleDC(HDC dc);
HBITMAP WINAPI CreateCompatibleBitmap(HDC dc, int width, int height);
BOOL WINAPI DeleteDC(HDC dc);
HPEN WINAPI CreatePen(int style, int width, COLORREF color);
HBRUSH WINAPI CreateSolidBrush(COLORREF color);
HFONT WINAPI CreateFontIndirectA(const LOGFONTA *font);
HFONT WINAPI CreateFontIndirectW(const LOGFONTW *font);
HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ object);
BOOL WINAPI DeleteObject(HGDIOBJ object);
COLORREF WINAPI SetPixel(HDC dc, int x, int y, COLORREF color);
BOOL WINAPI MoveToEx(HDC dc, int x, int y, LPPOINT previous);
BOOL WINAPI LineTo(HDC dc, int x, int y);
BOOL WINAPI Rectangle(HDC dc, int left, int top, int right, int bottom);
BOOL WINAPI RoundRect(HDC dc, int left, int top, int right, int bottom, int width, int height);
BOOL WINAPI Ellipse(HDC dc, int left, int top, int right, int bottom);
BOOL WINAPI BitBlt(HDC dc, int x, int y, int width, int height, HDC source, int sourceX,
                   int sourceY, DWORD rop);
BOOL WINAPI ExtTextOutA(HDC dc, int x, int y, UINT options, const RECT *rect, LPCSTR text,
                        UINT length, const INT *dx);
BOOL WINAPI ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT *rect, LPCWSTR text,
                        UINT length, const INT *dx);
int WINAPI FillRect(HDC dc, const RECT *rect, HBRUSH brush);
COLORREF WINAPI SetBkColor(HDC dc, COLORREF color);
COLORREF WINAPI SetTextColor(HDC dc, COLORREF color);
int WINAPI SetBkMode(HDC dc, int mode);
UINT WINAPI SetTextAlign(HDC dc, UINT align);

// USER.
ATOM WINAPI RegisterClassA(const WNDCLASSA *windowClass);
ATOM WINAPI RegisterClassW(const WNDCLASSW *windowClass);
HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, void *param);
HWND WINAPI CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style,
                            int x, int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, void *param);
HWND WINAPI FindWindowA(LPCSTR className, LPCSTR windowName);
HWND WINAPI FindWindowW(LPCWSTR className, LPCWSTR windowName);
BOOL WINAPI ShowWindow(HWND window, int command);
void WINAPI DisableProcessWindowsGhosting();
BOOL WINAPI SetForegroundWindow(HWND window);
BOOL WINAPI MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
BOOL WINAPI GetClientRect(HWND window, LPRECT rect);
int WINAPI GetSystemMetrics(int index);
HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name);
HICON WINAPI LoadIconW(HINSTANCE instance, LPCWSTR name);
HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name);
HCURSOR WINAPI LoadCursorW(HINSTANCE instance, LPCWSTR name);
BOOL WINAPI GetMessageA(LPMSG msg, HWND window, UINT first, UINT last);
BOOL WINAPI GetMessageW(LPMSG msg, HWND window, UINT first, UINT last);
BOOL WINAPI TranslateMessage(const MSG *msg);
LRESULT WINAPI DispatchMessageA(const MSG *msg);
LRESULT WINAPI DispatchMessageW(const MSG *msg);
LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT WINAPI DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT WINAPI SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void WINAPI PostQuitMessage(int code);
UINT_PTR WINAPI SetTimer(HWND window, UINT_PTR id, UINT period, TIMERPROC proc);
BOOL WINAPI KillTimer(HWND window, UINT_PTR id);
int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
int WINAPI MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);

#ifdef UNICODE
#define LOGFONT LOGFONTW
#define WNDCLASS WNDCLASSW
#define CreateFontIndirect CreateFontIndirectW
#define ExtTextOut ExtTextOutW
#define RegisterClass RegisterClassW
#define CreateWindowEx CreateWindowExW
#define FindWindow FindWindowW
#define LoadIcon LoadIconW
#define LoadCursor LoadCursorW
#define GetMessage GetMessageW
#define DispatchMessage DispatchMessageW
#define DefWindowProc DefWindowProcW
#define SendMessage SendMessageW
#define MessageBox MessageBoxW
#else
#define LOGFONT LOGFONTA
#define WNDCLASS WNDCLASSA
#define CreateFontIndirect CreateFontIndirectA
#define ExtTextOut ExtTextOutA
#define RegisterClass RegisterClassA
#define CreateWindowEx CreateWindowExA
#define FindWindow FindWindowA
#define LoadIcon LoadIconA
#define LoadCursor LoadCursorA
#define GetMessage GetMessageA
#define DispatchMessage DispatchMessageA
#define DefWindowProc DefWindowProcA
#define SendMessage SendMessageA
#define MessageBox MessageBoxA
#endif
