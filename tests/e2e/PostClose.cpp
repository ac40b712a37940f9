// Posts WM_CLOSE to the benchmark's window from another process, as a script or a
// task list would, as soon as the window exists. Exit code 0 when it was posted.
#include <windows.h>

int main() {
    for (int tries = 0; tries < 6000; tries++) {
        const HWND window = FindWindowA("QuenzelForm", "Norvale Quenzel");
        if (window != nullptr) {
            return PostMessageA(window, WM_CLOSE, 0, 0) ? 0 : 1;
        }
        Sleep(10);
    }
    return 2;
}
