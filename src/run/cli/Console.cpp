#include "Console.h"

#include "Files.h"
#include "UTypes.h"

#include <shellapi.h>

std::vector<std::string> Arguments() {
    int count = 0;
    LPWSTR *wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; wide != nullptr && i < count; i++) {
        arguments.push_back(Utf8(wide[i]));
    }
    LocalFree(wide);
    return arguments;
}

void PrepareConsole() {
    SetConsoleOutputCP(CP_UTF8);
}

bool WriteOut(const std::string &text) {
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD written = 0;
    for (size_t at = 0; at < text.size(); at += written) {
        if (!WriteFile(out, text.data() + at, static_cast<DWORD>(text.size() - at), &written,
                       nullptr) ||
            written == 0) {
            return false;
        }
    }
    return true;
}
