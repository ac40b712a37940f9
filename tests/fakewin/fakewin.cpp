#include <windows.h>

#include <aygshell.h>

namespace fake {

void Reset(int screenWidth, int screenHeight) {
    Log.clear();
    Faults.clear();
    OnIdle = nullptr;
    FailRegisterClass = FailCreateWindow = FailSetTimer = MutexTaken = false;
    LastError = 0;
    Queue.clear();
    Timers.clear();
    Objects.clear();
    Windows.clear();
    Classes.clear();
    // A fresh DC holds stock objects, black text on white, opaque.
    FreshDc = {0, 0, 0, 0, 0, 0xFFFFFF, OPAQUE, TA_LEFT};
    for (int kind = Pen; kind <= Bitmap; kind++) {
        FreshDc[kind] = N(New(static_cast<Kind>(kind)));
    }
    std::copy_n(std::data({0, 1, 1, 0}), 4, Clock);
    Screen[0] = screenWidth;
    Screen[1] = screenHeight;
}

int Live(Kind kind) {
    int count = 0;
    for (const auto &[handle, object] : Objects) {
        count += object.kind == kind && object.alive && FreshDc[kind] != N(handle);
    }
    return count;
}

HWND AddWindow(const std::string &className, const std::string &title, WNDPROC proc, HWND parent,
               intptr_t id, RECT place) {
    const HWND window = reinterpret_cast<HWND>(LastHandle += 16);
    Windows[window] = {className, title, parent, id, place, proc, true};
    return window;
}

std::vector<std::string> Children(HWND parent) {
    std::vector<std::string> titles;
    for (const auto &[handle, window] : Windows) {
        if (window.alive && window.parent == parent) {
            titles.push_back(window.title);
        }
    }
    return titles;
}

bool Alive(const void *handle, const char *fn, bool dc) {
    auto it = Objects.find(handle);
    const bool alive = it != Objects.end() && it->second.alive && (!dc || it->second.kind == Dc);
    if (!alive) {
        Faults.push_back(std::string(fn) + ": not a live " + (dc ? "DC" : "object"));
    }
    return alive;
}

HGDIOBJ Select(HDC dc, HGDIOBJ object) {
    if (!Alive(dc, "SelectObject", true) || !Alive(object, "SelectObject")) {
        return nullptr;
    }
    intptr_t &slot = Objects[dc].dc[Objects[object].kind];
    return reinterpret_cast<HGDIOBJ>(std::exchange(slot, N(object)));
}

BOOL Delete(HGDIOBJ object) {
    if (!Alive(object, "DeleteObject")) {
        return FALSE;
    }
    for (const auto &[handle, dc] : Objects) {
        if (dc.alive && dc.kind == Dc && dc.dc[Objects[object].kind] == N(object)) {
            return FALSE; // and the object leaks
        }
    }
    Objects[object].alive = false;
    return TRUE;
}

LRESULT Deliver(const MSG &msg) {
    auto it = Windows.find(msg.hwnd);
    if (it == Windows.end() || !it->second.alive) {
        Faults.push_back("a message to no window");
        return 0;
    }
    return it->second.proc != nullptr
               ? it->second.proc(msg.hwnd, msg.message, msg.wParam, msg.lParam)
               : DefaultProc(msg.hwnd, msg.message);
}

// Closing destroys the window and its children; the window hears WM_DESTROY.
LRESULT DefaultProc(HWND window, UINT message) {
    if (message == WM_CLOSE) {
        for (auto &[handle, other] : Windows) {
            other.alive = other.alive && handle != window && other.parent != window;
        }
        if (Windows[window].proc != nullptr) {
            Windows[window].proc(window, WM_DESTROY, 0, 0);
        }
    }
    return 0;
}

// The queue first, then what OnIdle posts, then a due timer.
BOOL NextMessage(MSG *msg) {
    if (Queue.empty() && OnIdle) {
        OnIdle();
    }
    if (Queue.empty() && !Timers.empty()) {
        Queue.push_back({Timers.begin()->first, WM_TIMER, Timers.begin()->second, 0, 0, {}});
    }
    if (Queue.empty()) {
        Faults.push_back("GetMessage: nothing would ever arrive");
        Queue.push_back({nullptr, WM_QUIT, 0, 0, 0, {}});
    }
    *msg = Queue.front();
    Queue.pop_front();
    return msg->message != WM_QUIT;
}

HWND Found(const TCHAR *className, const TCHAR *title) {
    for (const auto &[handle, window] : Windows) {
        if (window.alive && window.parent == nullptr && window.className == Narrow(className) &&
            window.title == Narrow(title)) {
            return handle;
        }
    }
    return nullptr;
}

} // namespace fake

BOOL WINAPI SHFullScreen(HWND window, DWORD state) {
    return fake::Logged("SHFullScreen", TRUE, window, state);
}
