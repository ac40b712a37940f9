// Posts WM_CLOSE to the benchmark's window (or to the window of the class and title
// given) from another process, as a script or a task list would, as soon as the
// window exists. Exit code 0 when it was posted.
#include <windows.h>

int main(int argc, char **argv) {
    const char *windowClass = argc == 3 ? argv[1] : "QuenzelForm";
    const char *title = argc == 3 ? argv[2] : "Norvale Quenzel";
    for (int tries = 0; tries < 6000; tries++) {
        const HWND window = FindWindowA(windowClass, title);
        if (window != nullptr) {
            return PostMessageA(window, WM_CLOSE, 0, 0) ? 0 : 1;
        }
        Sleep(10);
    }
    return 2;
}
