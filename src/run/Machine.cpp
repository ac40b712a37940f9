#include "Machine.h"

#include <cstdio>

static std::string WindowsVersion() {
    typedef LONG(WINAPI * GetVersionProc)(OSVERSIONINFOW *);
    const auto get = reinterpret_cast<GetVersionProc>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandle(TEXT("ntdll.dll")), "RtlGetVersion")));
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (get == nullptr || get(&version) != 0) {
        return "";
    }
    return std::to_string(version.dwMajorVersion) + "." + std::to_string(version.dwMinorVersion) +
           "." + std::to_string(version.dwBuildNumber);
}

// Under Wine, ntdll tells its version; on Windows the function does not exist.
static std::string WineVersion() {
    typedef const char *(CDECL * WineVersionProc)();
    const auto get = reinterpret_cast<WineVersionProc>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandle(TEXT("ntdll.dll")), "wine_get_version")));
    return get != nullptr ? get() : "";
}

static std::string UtcNow() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02uZ", now.wYear, now.wMonth,
                  now.wDay, now.wHour, now.wMinute, now.wSecond);
    return text;
}

Setting Describe(const Options &options, const Target &target) {
    Setting set;
#ifdef UNDER_CE
    set.Flavour = "handheld";
#else
    set.Flavour = "desktop";
#endif
    set.Target = target.Name();
    set.Width = Bench.ScreenWidth;
    set.Height = Bench.ScreenHeight;
    set.Depth = target.Depth();
    const HDC screen = GetDC(nullptr);
    set.Dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    set.Windows = WindowsVersion();
    set.Wine = WineVersion();
    set.Utc = UtcNow();
    set.WindowMs = options.WindowMs;
    set.Repeat = options.Repeat;
    set.Raw = options.Raw;
    return set;
}
