#include "fakewin.h"

#include <aygshell.h>

#include <map>
#include <set>

namespace fake {

std::vector<Call> Log;
std::vector<std::string> Faults;
std::function<void(const Call &)> OnCall;
std::function<void()> OnIdle;
bool FailRegisterClass, FailCreateWindow, FailSetTimer;

namespace {

struct Object {
    Kind kind;
    bool stock;
    bool alive;
    DcState dc;  // for DCs
    HWND window; // the window a DC was obtained for
};

struct Clock {
    DWORD start = 0;
    uint64_t num = 1, den = 1;
    uint64_t readings = 0;
};

struct Class {
    WNDPROC proc;
};

intptr_t nextHandle;
std::map<intptr_t, Object> objects;
HGDIOBJ stock[KindCount];
Clock clock;
int screenWidth, screenHeight, maxWidth, maxHeight;
std::map<std::string, Class> classes;
std::map<intptr_t, Window> windows;
std::map<intptr_t, WNDPROC> procs;
std::deque<MSG> queue;
std::set<std::pair<intptr_t, UINT_PTR>> timers;

template <typename C> std::string Narrow(const C *text, intptr_t length = -1) {
    std::string out;
    if (text == nullptr) {
        return out;
    }
    for (intptr_t i = 0; length < 0 ? text[i] != 0 : i < length; i++) {
        const auto unit = static_cast<uint32_t>(static_cast<std::make_unsigned_t<C>>(text[i]));
        out += unit < 0x80 ? static_cast<char>(unit) : '?';
    }
    return out;
}

// Class names may be atoms or resource identifiers (pointer values below 0x10000).
template <typename C> std::string NameOrAtom(const C *text) {
    if (reinterpret_cast<uintptr_t>(text) < 0x10000) {
        return "#" + std::to_string(reinterpret_cast<uintptr_t>(text));
    }
    return Narrow(text);
}

Call &Record(const char *fn, Args args, intptr_t ret = 0) {
    Log.push_back(Call{fn, std::move(args), "", "", 0, ret});
    return Log.back();
}

void Done(const Call &call) {
    if (OnCall) {
        OnCall(call);
    }
}

intptr_t NewHandle() {
    nextHandle += 0x10;
    return nextHandle;
}

HGDIOBJ NewObject(Kind kind) {
    const intptr_t handle = NewHandle();
    objects[handle] = Object{kind, false, true, {}, nullptr};
    return reinterpret_cast<HGDIOBJ>(handle);
}

Object *Find(const void *handle, const char *fn) {
    auto it = objects.find(reinterpret_cast<intptr_t>(handle));
    if (it == objects.end() || !it->second.alive) {
        Faults.push_back(std::string(fn) + ": unknown or dead handle");
        return nullptr;
    }
    return &it->second;
}

Object *FindDc(HDC dc, const char *fn) {
    Object *object = Find(dc, fn);
    if (object != nullptr && object->kind != Dc) {
        Faults.push_back(std::string(fn) + ": not a DC");
        return nullptr;
    }
    return object;
}

DcState FreshDc() {
    return DcState{stock[Pen],   stock[Brush],       stock[Font], stock[Bitmap],
                   RGB(0, 0, 0), RGB(255, 255, 255), OPAQUE,      0};
}

HDC NewDc(HWND window) {
    const HGDIOBJ handle = NewObject(Dc);
    Object &object = objects[reinterpret_cast<intptr_t>(handle)];
    object.dc = FreshDc();
    object.window = window;
    return static_cast<HDC>(handle);
}

// A DC must hold only stock objects when it is given back.
void CheckStockOnly(const Object &dc, const char *fn) {
    const HGDIOBJ held[] = {dc.dc.pen, dc.dc.brush, dc.dc.font, dc.dc.bitmap};
    for (HGDIOBJ object : held) {
        if (!objects[reinterpret_cast<intptr_t>(object)].stock) {
            Faults.push_back(std::string(fn) + ": a created object is still selected");
        }
    }
}

HGDIOBJ *Slot(DcState &dc, Kind kind) {
    switch (kind) {
    case Pen:
        return &dc.pen;
    case Brush:
        return &dc.brush;
    case Font:
        return &dc.font;
    case Bitmap:
        return &dc.bitmap;
    default:
        return nullptr;
    }
}

HWND NewWindow(const std::string &className, const std::string &title, HWND parent, intptr_t id,
               DWORD style, DWORD exStyle, int x, int y, int width, int height) {
    const intptr_t handle = NewHandle();
    windows[handle] =
        Window{className, title, parent, id, style, exStyle, x, y, width, height, true};
    auto it = classes.find(className);
    procs[handle] = it == classes.end() ? nullptr : it->second.proc;
    return reinterpret_cast<HWND>(handle);
}

Window *FindWindowRecord(HWND window) {
    auto it = windows.find(reinterpret_cast<intptr_t>(window));
    return it == windows.end() || !it->second.alive ? nullptr : &it->second;
}

LRESULT Deliver(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (FindWindowRecord(window) == nullptr) {
        Faults.push_back("message to a window that does not exist");
        return 0;
    }
    const WNDPROC proc = procs[reinterpret_cast<intptr_t>(window)];
    if (proc == nullptr) { // a stock control: only closing matters here
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return proc(window, message, wParam, lParam);
}

void Destroy(HWND window) {
    Window *record = FindWindowRecord(window);
    if (record == nullptr) {
        return;
    }
    record->alive = false;
    const WNDPROC proc = procs[reinterpret_cast<intptr_t>(window)];
    if (proc != nullptr) {
        proc(window, WM_DESTROY, 0, 0);
    }
    for (HWND child : LiveChildren(window)) {
        Destroy(child);
    }
}

LRESULT DefProc(HWND window, UINT message) {
    if (message == WM_CLOSE) {
        Destroy(window);
    }
    return 0;
}

template <typename C> ATOM Register(const char *fn, const C *windowClass) {
    Call &call =
        Record(fn, {static_cast<intptr_t>(windowClass->style), H(windowClass->lpfnWndProc),
                    windowClass->cbClsExtra, windowClass->cbWndExtra, H(windowClass->hInstance),
                    H(windowClass->hIcon), H(windowClass->hCursor), H(windowClass->hbrBackground),
                    H(windowClass->lpszMenuName)});
    call.text = Narrow(windowClass->lpszClassName);
    call.unit = sizeof(C);
    ATOM atom = 0;
    if (!FailRegisterClass) {
        classes[call.text] = Class{windowClass->lpfnWndProc};
        atom = 0xC001;
    }
    call.ret = atom;
    Done(call);
    return atom;
}

template <typename C>
HWND Create(const char *fn, DWORD exStyle, const C *className, const C *windowName, DWORD style,
            int x, int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
            void *param) {
    Call &call = Record(fn, {static_cast<intptr_t>(exStyle), static_cast<intptr_t>(style), x, y,
                             width, height, H(parent), H(menu), H(instance), H(param)});
    call.text = NameOrAtom(className);
    call.text2 = Narrow(windowName);
    call.unit = sizeof(C);
    const HWND window = FailCreateWindow ? nullptr
                                         : NewWindow(call.text, call.text2, parent, H(menu), style,
                                                     exStyle, x, y, width, height);
    call.ret = H(window);
    Done(call);
    return window;
}

template <typename C> HWND FindByName(const char *fn, const C *className, const C *title) {
    Call &call = Record(fn, {});
    call.text = Narrow(className);
    call.text2 = Narrow(title);
    call.unit = sizeof(C);
    HWND found = nullptr;
    for (auto &[handle, window] : windows) {
        if (window.alive && window.parent == nullptr && window.className == call.text &&
            window.title == call.text2) {
            found = reinterpret_cast<HWND>(handle);
            break;
        }
    }
    call.ret = H(found);
    Done(call);
    return found;
}

BOOL NextMessage(const char *fn, LPMSG msg, HWND window, UINT first, UINT last) {
    if (queue.empty() && OnIdle) {
        OnIdle();
    }
    if (queue.empty() && !timers.empty()) {
        const auto [handle, id] = *timers.begin();
        queue.push_back(MSG{reinterpret_cast<HWND>(handle), WM_TIMER, id, 0, 0, {0, 0}});
    }
    Call &call = Record(fn, {H(window), static_cast<intptr_t>(first), static_cast<intptr_t>(last)});
    if (queue.empty()) {
        Faults.push_back("GetMessage: nothing would ever arrive");
        *msg = MSG{nullptr, WM_QUIT, 0, 0, 0, {0, 0}};
    } else {
        *msg = queue.front();
        queue.pop_front();
    }
    call.args.push_back(msg->message);
    call.ret = msg->message != WM_QUIT;
    Done(call);
    return msg->message != WM_QUIT;
}

template <typename C>
BOOL TextOut(const char *fn, HDC dc, int x, int y, UINT options, const RECT *rect, const C *text,
             UINT length, const INT *dx) {
    FindDc(dc, fn);
    Call &call = Record(fn, {H(dc), x, y, static_cast<intptr_t>(options)});
    if (rect != nullptr) {
        call.args.insert(call.args.end(), {rect->left, rect->top, rect->right, rect->bottom});
    }
    call.args.push_back(static_cast<intptr_t>(length));
    call.args.push_back(H(dx));
    call.text = Narrow(text, length);
    call.unit = sizeof(C);
    call.ret = TRUE;
    Done(call);
    return TRUE;
}

template <typename F> HFONT MakeFont(const char *fn, const F *font) {
    const HGDIOBJ handle = NewObject(Font);
    Call &call =
        Record(fn,
               {font->lfHeight, font->lfWidth, font->lfEscapement, font->lfOrientation,
                font->lfWeight, font->lfItalic, font->lfUnderline, font->lfStrikeOut,
                font->lfCharSet, font->lfOutPrecision, font->lfClipPrecision, font->lfQuality,
                font->lfPitchAndFamily, static_cast<intptr_t>(font->lfFaceName[0])},
               H(handle));
    call.unit = sizeof(font->lfFaceName[0]);
    Done(call);
    return static_cast<HFONT>(handle);
}

template <typename C>
int Box(const char *fn, HWND owner, const C *text, const C *caption, UINT type) {
    Call &call = Record(fn, {H(owner), static_cast<intptr_t>(type)}, 1);
    call.text = Narrow(text);
    call.text2 = Narrow(caption);
    call.unit = sizeof(C);
    Done(call);
    return 1; // IDOK
}

} // namespace

void Reset() {
    Log.clear();
    OnCall = nullptr;
    OnIdle = nullptr;
    FailRegisterClass = false;
    FailCreateWindow = false;
    FailSetTimer = false;
    objects.clear();
    nextHandle = 0x10000;
    for (int kind = 0; kind < KindCount; kind++) {
        const intptr_t handle = NewHandle();
        objects[handle] = Object{static_cast<Kind>(kind), true, true, {}, nullptr};
        stock[kind] = reinterpret_cast<HGDIOBJ>(handle);
    }
    clock = Clock{};
    screenWidth = 800;
    screenHeight = 600;
    maxWidth = 800;
    maxHeight = 560;
    classes.clear();
    windows.clear();
    procs.clear();
    queue.clear();
    timers.clear();
}

int Live(Kind kind) {
    int count = 0;
    for (const auto &[handle, object] : objects) {
        count += object.kind == kind && object.alive && !object.stock;
    }
    return count;
}

DcState State(HDC dc) {
    Object *object = FindDc(dc, "State");
    return object == nullptr ? DcState{} : object->dc;
}

HGDIOBJ StockObject(Kind kind) {
    return stock[kind];
}

void SetClock(DWORD start, uint64_t num, uint64_t den) {
    clock = Clock{start, num, den, 0};
}

int ClockReadings() {
    return static_cast<int>(clock.readings);
}

void SetScreen(int width, int height) {
    screenWidth = width;
    screenHeight = height;
}

void SetMaximizedClient(int width, int height) {
    maxWidth = width;
    maxHeight = height;
}

HWND AddWindow(const std::string &className, const std::string &title) {
    return NewWindow(className, title, nullptr, 0, WS_VISIBLE, 0, 0, 0, 100, 100);
}

const Window &WindowOf(HWND window) {
    return windows.at(reinterpret_cast<intptr_t>(window));
}

std::vector<HWND> LiveChildren(HWND parent) {
    std::vector<HWND> children;
    for (auto &[handle, window] : windows) {
        if (window.alive && window.parent == parent) {
            children.push_back(reinterpret_cast<HWND>(handle));
        }
    }
    return children;
}

void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    queue.push_back(MSG{window, message, wParam, lParam, 0, {0, 0}});
}

bool TimerArmed(HWND window, UINT_PTR id) {
    return timers.count({H(window), id}) != 0;
}

std::deque<MSG> &Queue() {
    return queue;
}

} // namespace fake

using namespace fake;

// Kernel.

DWORD WINAPI GetTickCount() {
    const DWORD now = clock.start + static_cast<DWORD>(clock.readings * clock.num / clock.den);
    clock.readings++;
    Call &call = Record("GetTickCount", {}, now);
    Done(call);
    return now;
}

#ifndef UNDER_CE
HANDLE WINAPI GetCurrentThread() {
    Call &call = Record("GetCurrentThread", {}, -2);
    Done(call);
    return reinterpret_cast<HANDLE>(-2);
}

HANDLE WINAPI GetCurrentProcess() {
    Call &call = Record("GetCurrentProcess", {}, -1);
    Done(call);
    return reinterpret_cast<HANDLE>(-1);
}
#endif

BOOL WINAPI SetThreadPriority(HANDLE thread, int priority) {
    Call &call = Record("SetThreadPriority", {H(thread), priority}, TRUE);
    Done(call);
    return TRUE;
}

void WINAPI ExitProcess(UINT code) {
    Call &call = Record("ExitProcess", {static_cast<intptr_t>(code)});
    Done(call);
    throw ProcessExit{code};
}

BOOL WINAPI TerminateProcess(HANDLE process, UINT code) {
    Call &call = Record("TerminateProcess", {H(process), static_cast<intptr_t>(code)});
    Done(call);
    if (process == GetCurrentProcess()) {
        throw ProcessExit{code};
    }
    return FALSE;
}

int WINAPI WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideLength,
                               LPSTR narrow, int narrowSize, LPCSTR, BOOL *) {
    const std::string text = Narrow(wide, wideLength);
    // With a length of -1 the terminating zero is converted and counted too.
    const int needed = static_cast<int>(text.size()) + (wideLength < 0 ? 1 : 0);
    Call &call = Record("WideCharToMultiByte",
                        {static_cast<intptr_t>(codePage), flags, wideLength, narrowSize});
    call.text = text;
    call.unit = 2;
    int result = needed;
    if (narrowSize != 0) {
        if (narrowSize < needed) {
            result = 0;
        } else {
            std::copy(text.begin(), text.end(), narrow);
            if (wideLength < 0) {
                narrow[text.size()] = 0;
            }
        }
    }
    call.ret = result;
    Done(call);
    return result;
}

// GDI.

HDC WINAPI GetDC(HWND window) {
    const HDC dc = NewDc(window);
    Call &call = Record("GetDC", {H(window)}, H(dc));
    Done(call);
    return dc;
}

int WINAPI ReleaseDC(HWND window, HDC dc) {
    if (Object *object = FindDc(dc, "ReleaseDC")) {
        if (object->window != window) {
            Faults.push_back("ReleaseDC: not the window the DC was obtained for");
        }
        CheckStockOnly(*object, "ReleaseDC");
        object->alive = false;
    }
    Call &call = Record("ReleaseDC", {H(window), H(dc)}, 1);
    Done(call);
    return 1;
}

HDC WINAPI CreateCompatibleDC(HDC dc) {
    if (dc != nullptr) {
        FindDc(dc, "CreateCompatibleDC");
    }
    const HDC memory = NewDc(nullptr);
    Call &call = Record("CreateCompatibleDC", {H(dc)}, H(memory));
    Done(call);
    return memory;
}

HBITMAP WINAPI CreateCompatibleBitmap(HDC dc, int width, int height) {
    FindDc(dc, "CreateCompatibleBitmap");
    const HGDIOBJ bitmap = NewObject(Bitmap);
    Call &call = Record("CreateCompatibleBitmap", {H(dc), width, height}, H(bitmap));
    Done(call);
    return static_cast<HBITMAP>(bitmap);
}

BOOL WINAPI DeleteDC(HDC dc) {
    if (Object *object = FindDc(dc, "DeleteDC")) {
        CheckStockOnly(*object, "DeleteDC");
        object->alive = false;
    }
    Call &call = Record("DeleteDC", {H(dc)}, TRUE);
    Done(call);
    return TRUE;
}

HPEN WINAPI CreatePen(int style, int width, COLORREF color) {
    const HGDIOBJ pen = NewObject(Pen);
    Call &call = Record("CreatePen", {style, width, color}, H(pen));
    Done(call);
    return static_cast<HPEN>(pen);
}

HBRUSH WINAPI CreateSolidBrush(COLORREF color) {
    const HGDIOBJ brush = NewObject(Brush);
    Call &call = Record("CreateSolidBrush", {color}, H(brush));
    Done(call);
    return static_cast<HBRUSH>(brush);
}

HFONT WINAPI CreateFontIndirectA(const LOGFONTA *font) {
    return MakeFont("CreateFontIndirectA", font);
}

HFONT WINAPI CreateFontIndirectW(const LOGFONTW *font) {
    return MakeFont("CreateFontIndirectW", font);
}

HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ object) {
    HGDIOBJ old = nullptr;
    Object *target = FindDc(dc, "SelectObject");
    Object *selected = Find(object, "SelectObject");
    if (target != nullptr && selected != nullptr) {
        if (HGDIOBJ *slot = Slot(target->dc, selected->kind)) {
            old = *slot;
            *slot = object;
        } else {
            Faults.push_back("SelectObject: cannot select that kind");
        }
    }
    Call &call = Record("SelectObject", {H(dc), H(object)}, H(old));
    Done(call);
    return old;
}

BOOL WINAPI DeleteObject(HGDIOBJ object) {
    BOOL result = FALSE;
    if (Object *target = Find(object, "DeleteObject")) {
        bool selected = false;
        for (auto &[handle, dc] : objects) {
            if (dc.kind == Dc && dc.alive) {
                HGDIOBJ *slot = Slot(dc.dc, target->kind);
                selected = selected || (slot != nullptr && *slot == object);
            }
        }
        if (selected) {
            // Win32 refuses, and the object leaks.
            Faults.push_back("DeleteObject: the object is still selected into a DC");
        } else if (!target->stock && target->kind != Dc) {
            target->alive = false;
            result = TRUE;
        }
    }
    Call &call = Record("DeleteObject", {H(object)}, result);
    Done(call);
    return result;
}

#define DC_CALL(fn, ...)                                                                           \
    FindDc(dc, fn);                                                                                \
    Call &call = Record(fn, {H(dc), __VA_ARGS__}, TRUE);                                           \
    Done(call);                                                                                    \
    return TRUE

COLORREF WINAPI SetPixel(HDC dc, int x, int y, COLORREF color) {
    DC_CALL("SetPixel", x, y, color);
}

BOOL WINAPI MoveToEx(HDC dc, int x, int y, LPPOINT previous) {
    DC_CALL("MoveToEx", x, y, H(previous));
}

BOOL WINAPI LineTo(HDC dc, int x, int y) {
    DC_CALL("LineTo", x, y);
}

BOOL WINAPI Rectangle(HDC dc, int left, int top, int right, int bottom) {
    DC_CALL("Rectangle", left, top, right, bottom);
}

BOOL WINAPI RoundRect(HDC dc, int left, int top, int right, int bottom, int width, int height) {
    DC_CALL("RoundRect", left, top, right, bottom, width, height);
}

BOOL WINAPI Ellipse(HDC dc, int left, int top, int right, int bottom) {
    DC_CALL("Ellipse", left, top, right, bottom);
}

BOOL WINAPI BitBlt(HDC dc, int x, int y, int width, int height, HDC source, int sourceX,
                   int sourceY, DWORD rop) {
    FindDc(source, "BitBlt");
    DC_CALL("BitBlt", x, y, width, height, H(source), sourceX, sourceY, rop);
}

BOOL WINAPI ExtTextOutA(HDC dc, int x, int y, UINT options, const RECT *rect, LPCSTR text,
                        UINT length, const INT *dx) {
    return TextOut("ExtTextOutA", dc, x, y, options, rect, text, length, dx);
}

BOOL WINAPI ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT *rect, LPCWSTR text,
                        UINT length, const INT *dx) {
    return TextOut("ExtTextOutW", dc, x, y, options, rect, text, length, dx);
}

int WINAPI FillRect(HDC dc, const RECT *rect, HBRUSH brush) {
    Find(brush, "FillRect");
    DC_CALL("FillRect", rect->left, rect->top, rect->right, rect->bottom, H(brush));
}

#define DC_SET(fn, field, value)                                                                   \
    Object *object = FindDc(dc, fn);                                                               \
    const auto old = object == nullptr ? 0 : object->dc.field;                                     \
    if (object != nullptr) {                                                                       \
        object->dc.field = value;                                                                  \
    }                                                                                              \
    Call &call = Record(fn, {H(dc), static_cast<intptr_t>(value)}, static_cast<intptr_t>(old));    \
    Done(call);                                                                                    \
    return old

COLORREF WINAPI SetBkColor(HDC dc, COLORREF color) {
    DC_SET("SetBkColor", bkColor, color);
}

COLORREF WINAPI SetTextColor(HDC dc, COLORREF color) {
    DC_SET("SetTextColor", textColor, color);
}

int WINAPI SetBkMode(HDC dc, int mode) {
    DC_SET("SetBkMode", bkMode, mode);
}

UINT WINAPI SetTextAlign(HDC dc, UINT align) {
    DC_SET("SetTextAlign", align, align);
}

// USER.

ATOM WINAPI RegisterClassA(const WNDCLASSA *windowClass) {
    return Register("RegisterClassA", windowClass);
}

ATOM WINAPI RegisterClassW(const WNDCLASSW *windowClass) {
    return Register("RegisterClassW", windowClass);
}

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, void *param) {
    return Create("CreateWindowExA", exStyle, className, windowName, style, x, y, width, height,
                  parent, menu, instance, param);
}

HWND WINAPI CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style,
                            int x, int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, void *param) {
    return Create("CreateWindowExW", exStyle, className, windowName, style, x, y, width, height,
                  parent, menu, instance, param);
}

HWND WINAPI FindWindowA(LPCSTR className, LPCSTR windowName) {
    return FindByName("FindWindowA", className, windowName);
}

HWND WINAPI FindWindowW(LPCWSTR className, LPCWSTR windowName) {
    return FindByName("FindWindowW", className, windowName);
}

BOOL WINAPI ShowWindow(HWND window, int command) {
    if (Window *record = FindWindowRecord(window); record != nullptr && command == SW_MAXIMIZE) {
        record->x = 0;
        record->y = 0;
        record->width = maxWidth;
        record->height = maxHeight;
    }
    Call &call = Record("ShowWindow", {H(window), command}, TRUE);
    Done(call);
    return TRUE;
}

void WINAPI DisableProcessWindowsGhosting() {
    Call &call = Record("DisableProcessWindowsGhosting", {});
    Done(call);
}

BOOL WINAPI SetForegroundWindow(HWND window) {
    Call &call = Record("SetForegroundWindow", {H(window)}, TRUE);
    Done(call);
    return TRUE;
}

BOOL WINAPI MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint) {
    if (Window *record = FindWindowRecord(window)) {
        *record = Window{record->className,
                         record->title,
                         record->parent,
                         record->id,
                         record->style,
                         record->exStyle,
                         x,
                         y,
                         width,
                         height,
                         true};
    }
    Call &call = Record("MoveWindow", {H(window), x, y, width, height, repaint}, TRUE);
    Done(call);
    return TRUE;
}

// The stand-in's windows have no frame: the client area is the window's size.
BOOL WINAPI GetClientRect(HWND window, LPRECT rect) {
    const Window *record = FindWindowRecord(window);
    *rect = RECT{0, 0, record ? record->width : 0, record ? record->height : 0};
    Call &call = Record("GetClientRect", {H(window)}, TRUE);
    Done(call);
    return TRUE;
}

int WINAPI GetSystemMetrics(int index) {
    const int value = index == SM_CXSCREEN ? screenWidth : index == SM_CYSCREEN ? screenHeight : 0;
    Call &call = Record("GetSystemMetrics", {index}, value);
    Done(call);
    return value;
}

#define LOAD_STOCK(fn, name)                                                                       \
    Call &call = Record(fn, {H(instance), H(name)}, 0x7F00 + reinterpret_cast<intptr_t>(name));    \
    Done(call);                                                                                    \
    return reinterpret_cast<HICON>(call.ret)

HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name) {
    LOAD_STOCK("LoadIconA", name);
}

HICON WINAPI LoadIconW(HINSTANCE instance, LPCWSTR name) {
    LOAD_STOCK("LoadIconW", name);
}

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name) {
    LOAD_STOCK("LoadCursorA", name);
}

HCURSOR WINAPI LoadCursorW(HINSTANCE instance, LPCWSTR name) {
    LOAD_STOCK("LoadCursorW", name);
}

BOOL WINAPI GetMessageA(LPMSG msg, HWND window, UINT first, UINT last) {
    return NextMessage("GetMessageA", msg, window, first, last);
}

BOOL WINAPI GetMessageW(LPMSG msg, HWND window, UINT first, UINT last) {
    return NextMessage("GetMessageW", msg, window, first, last);
}

BOOL WINAPI TranslateMessage(const MSG *msg) {
    Call &call = Record("TranslateMessage", {msg->message}, FALSE);
    Done(call);
    return FALSE;
}

LRESULT WINAPI DispatchMessageA(const MSG *msg) {
    Call &call = Record("DispatchMessageA", {H(msg->hwnd), msg->message});
    Done(call);
    return Deliver(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT WINAPI DispatchMessageW(const MSG *msg) {
    Call &call = Record("DispatchMessageW", {H(msg->hwnd), msg->message});
    Done(call);
    return Deliver(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Call &call =
        Record("DefWindowProcA", {H(window), message, static_cast<intptr_t>(wParam), lParam});
    Done(call);
    return DefProc(window, message);
}

LRESULT WINAPI DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Call &call =
        Record("DefWindowProcW", {H(window), message, static_cast<intptr_t>(wParam), lParam});
    Done(call);
    return DefProc(window, message);
}

LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Call &call =
        Record("SendMessageA", {H(window), message, static_cast<intptr_t>(wParam), lParam});
    Done(call);
    return Deliver(window, message, wParam, lParam);
}

LRESULT WINAPI SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Call &call =
        Record("SendMessageW", {H(window), message, static_cast<intptr_t>(wParam), lParam});
    Done(call);
    return Deliver(window, message, wParam, lParam);
}

void WINAPI PostQuitMessage(int code) {
    queue.push_back(MSG{nullptr, WM_QUIT, static_cast<WPARAM>(code), 0, 0, {0, 0}});
    Call &call = Record("PostQuitMessage", {code});
    Done(call);
}

UINT_PTR WINAPI SetTimer(HWND window, UINT_PTR id, UINT period, TIMERPROC proc) {
    const UINT_PTR result = FailSetTimer ? 0 : id;
    if (result != 0) {
        timers.insert({H(window), id});
    }
    Call &call = Record("SetTimer", {H(window), static_cast<intptr_t>(id), period, H(proc)},
                        static_cast<intptr_t>(result));
    Done(call);
    return result;
}

BOOL WINAPI KillTimer(HWND window, UINT_PTR id) {
    const BOOL result = timers.erase({H(window), id}) != 0;
    Call &call = Record("KillTimer", {H(window), static_cast<intptr_t>(id)}, result);
    Done(call);
    return result;
}

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    return Box("MessageBoxA", owner, text, caption, type);
}

int WINAPI MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    return Box("MessageBoxW", owner, text, caption, type);
}

// Windows CE shell. The stand-in's windows have no frame to lose.
BOOL WINAPI SHFullScreen(HWND window, DWORD state) {
    Call &call = Record("SHFullScreen", {H(window), static_cast<intptr_t>(state)}, TRUE);
    Done(call);
    return TRUE;
}
