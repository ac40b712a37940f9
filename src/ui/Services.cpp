#include "Services.h"

#include "Bench.h"

void CheckSingleInstance(const WCHAR *className, const WCHAR *title) {
    // The mutex is taken before the window search, so of two copies started in the
    // same instant, when neither window exists yet, one steps aside.
    const bool another = !TakeDisplayMutex();
    const Text classText = ToText(className);
    const Text titleText = ToText(title);
    const HWND running = FindWindow(classText.c_str(), titleText.c_str());
    if (running != nullptr) {
        ShowWindow(running, SW_SHOW);
        SetForegroundWindow(running);
    }
    if (another || running != nullptr) {
        EndProcess(0);
    }
}

void FatalError(HWND owner, const WCHAR *message) {
    const Text text = ToText(message);
    const Text caption = ToText(WIDE("Fatal Error"));
    MessageBox(owner, text.c_str(), caption.c_str(),
               MB_OK | MB_ICONHAND | MB_SYSTEMMODAL | MB_TOPMOST);
    EndProcess(1);
}

void EndProcess(UINT code) {
#ifdef UNDER_CE
    TerminateProcess(GetCurrentProcess(), code);
#else
    ExitProcess(code);
#endif
}

WideString IntToWStr(INT value) {
    // The magnitude is taken in unsigned arithmetic, so the most negative value,
    // whose negation does not fit in 32 bits, reads -2147483648 like any other.
    const bool negative = value < 0;
    UINT magnitude = negative ? 0u - static_cast<UINT>(value) : static_cast<UINT>(value);
    WideString text;
    do {
        text.insert(text.begin(), static_cast<WCHAR>('0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    if (negative) {
        text.insert(0, WIDE("-"));
    }
    return text;
}

Text ToText(const WideString &wide) {
#ifdef UNICODE
    return wide;
#else
    if (wide.empty()) {
        return Text();
    }
    const int wideLength = static_cast<int>(wide.size());
    const int length =
        WideCharToMultiByte(CP_ACP, 0, wide.c_str(), wideLength, nullptr, 0, nullptr, nullptr);
    Text text(length, '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), wideLength, text.data(), length, nullptr, nullptr);
    return text;
#endif
}
