#include "Machine.h"

#include "Bench.h"
#include "Files.h"

#include <tchar.h>

#include <cstdio>
#include <string>

// A system call looked up by name, so the program still starts where it is missing.
template <typename Call> static Call Lookup(HMODULE module, const char *name) {
    return module == nullptr
               ? nullptr
               : reinterpret_cast<Call>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

static std::string WindowsVersion() {
    typedef LONG(WINAPI * GetVersionProc)(OSVERSIONINFOW *);
    const auto get = Lookup<GetVersionProc>(GetModuleHandle(TEXT("ntdll.dll")), "RtlGetVersion");
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
    const auto get =
        Lookup<WineVersionProc>(GetModuleHandle(TEXT("ntdll.dll")), "wine_get_version");
    return get != nullptr ? get() : "";
}

// The DPI awareness the program runs with (its manifest declares per-monitor v2):
// unaware, its drawing would be scaled by the system after the fact. Asked of the
// thread's context where the system has one (Windows 10), else of the process
// (Windows 8.1), else whether it is aware at all (Vista); left out before that.
static std::string DpiAwareness() {
    static const char *const levels[] = {"unaware", "system", "per_monitor"};
    typedef DPI_AWARENESS_CONTEXT(WINAPI * ContextProc)();
    typedef BOOL(WINAPI * EqualProc)(DPI_AWARENESS_CONTEXT, DPI_AWARENESS_CONTEXT);
    typedef int(WINAPI * LevelProc)(DPI_AWARENESS_CONTEXT);
    const HMODULE user = GetModuleHandle(TEXT("user32.dll"));
    const auto context = Lookup<ContextProc>(user, "GetThreadDpiAwarenessContext");
    const auto equal = Lookup<EqualProc>(user, "AreDpiAwarenessContextsEqual");
    const auto level = Lookup<LevelProc>(user, "GetAwarenessFromDpiAwarenessContext");
    int found = -1;
    if (context != nullptr && equal != nullptr && level != nullptr) {
        if (equal(context(), DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2)) {
            return "per_monitor_v2";
        }
        found = level(context());
    } else if (const HMODULE shcore = LoadLibrary(TEXT("shcore.dll")); shcore != nullptr) {
        typedef HRESULT(WINAPI * ProcessProc)(HANDLE, int *);
        const auto process = Lookup<ProcessProc>(shcore, "GetProcessDpiAwareness");
        if (process == nullptr || process(nullptr, &found) != S_OK) {
            found = -1;
        }
        FreeLibrary(shcore);
    }
    if (found < 0) {
        typedef BOOL(WINAPI * AwareProc)();
        const auto aware = Lookup<AwareProc>(user, "IsProcessDPIAware");
        found = aware == nullptr ? -1 : aware() ? 1 : 0;
    }
    return found >= 0 && found <= 2 ? levels[found] : "";
}

static std::string UtcNow() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02uZ", now.wYear, now.wMonth,
                  now.wDay, now.wHour, now.wMinute, now.wSecond);
    return text;
}

// A run's identity: the time to the millisecond, the process and the performance counter, which
// no other run on any machine is likely to share all of.
static std::string NewRunId() {
    SYSTEMTIME time;
    GetSystemTime(&time);
    FILETIME now;
    SystemTimeToFileTime(&time, &now);
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    char id[64];
    std::snprintf(id, sizeof id, "%08lx%08lx-%08lx-%016llx", now.dwHighDateTime, now.dwLowDateTime,
                  GetCurrentProcessId(), static_cast<unsigned long long>(counter.QuadPart));
    return id;
}

// System text as UTF-8 (what the saved files hold), without surrounding spaces:
// some processors pad their names.
static std::string SystemText(const TCHAR *text) {
#ifdef UNICODE
    const std::string out = Utf8(std::wstring(text));
#else
    std::wstring wide(MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), static_cast<int>(wide.size()));
    const std::string out = Utf8(wide.c_str());
#endif
    const size_t first = out.find_first_not_of(' ');
    return first == std::string::npos ? ""
                                      : out.substr(first, out.find_last_not_of(' ') - first + 1);
}

// A text value under HKEY_LOCAL_MACHINE, or "" when it is not there.
static std::string MachineText(const TCHAR *path, const TCHAR *name) {
    HKEY key;
    if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return "";
    }
    TCHAR value[256] = {};
    DWORD type = 0, size = sizeof value - sizeof(TCHAR); // room for a terminator it may lack
    const LONG status =
        RegQueryValueEx(key, name, nullptr, &type, reinterpret_cast<BYTE *>(value), &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS && type == REG_SZ ? SystemText(value) : "";
}

// The primary display device, or the first when none says it is primary.
static bool PrimaryDisplay(DISPLAY_DEVICE &device) {
    bool found = false;
    DISPLAY_DEVICE next = {};
    next.cb = sizeof next;
    for (DWORD i = 0; EnumDisplayDevices(nullptr, i, &next, 0); i++) {
        if (!found || (next.StateFlags & DISPLAY_DEVICE_PRIMARY_DEVICE) != 0) {
            device = next;
            found = true;
        }
        if ((next.StateFlags & DISPLAY_DEVICE_PRIMARY_DEVICE) != 0) {
            break;
        }
    }
    return found;
}

// The driver's version from the device's registry key, named in the kernel's form.
static std::string DriverVersion(const DISPLAY_DEVICE &device) {
    const TCHAR prefix[] = TEXT("\\Registry\\Machine\\");
    const size_t length = sizeof prefix / sizeof *prefix - 1;
    if (_tcsnicmp(device.DeviceKey, prefix, length) != 0) {
        return "";
    }
    return MachineText(device.DeviceKey + length, TEXT("DriverVersion"));
}

static std::string PriorityName(DWORD priority) {
    switch (priority) {
    case IDLE_PRIORITY_CLASS:
        return "idle";
    case BELOW_NORMAL_PRIORITY_CLASS:
        return "below_normal";
    case NORMAL_PRIORITY_CLASS:
        return "normal";
    case ABOVE_NORMAL_PRIORITY_CLASS:
        return "above_normal";
    case HIGH_PRIORITY_CLASS:
        return "high";
    case REALTIME_PRIORITY_CLASS:
        return "realtime";
    }
    char text[16];
    std::snprintf(text, sizeof text, "0x%lx", static_cast<unsigned long>(priority));
    return text;
}

static void AddText(Setting &set, const char *key, const std::string &value) {
    if (!value.empty()) {
        set.Facts.push_back({key, value, true});
    }
}

static void AddNumber(Setting &set, const char *key, unsigned long long value) {
    set.Facts.push_back({key, std::to_string(value), false});
}

// What the system tells of the machine; what it does not tell is left out.
static void AddFacts(Setting &set, bool host) {
    AddText(set, "cpu",
            MachineText(TEXT("HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0"),
                        TEXT("ProcessorNameString")));

    SYSTEM_INFO system;
    GetSystemInfo(&system);
    AddNumber(set, "cpus", system.dwNumberOfProcessors);

    MEMORYSTATUSEX memory = {};
    memory.dwLength = sizeof memory;
    if (GlobalMemoryStatusEx(&memory)) {
        AddNumber(set, "memory_mb", memory.ullTotalPhys / 1048576);
    }

    DISPLAY_DEVICE device = {};
    if (PrimaryDisplay(device)) {
        AddText(set, "adapter", SystemText(device.DeviceString));
        AddText(set, "driver", DriverVersion(device));
    }

    // 0 and 1 stand for the hardware's default rate, which says nothing.
    DEVMODE mode = {};
    mode.dmSize = sizeof mode;
    if (EnumDisplaySettings(nullptr, ENUM_CURRENT_SETTINGS, &mode) && mode.dmDisplayFrequency > 1) {
        AddNumber(set, "refresh_hz", mode.dmDisplayFrequency);
    }

    // A real handle of this process, which the desktop's calls take in both flavours
    // (the handheld's pseudo-handle is CE's own).
    const HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, GetCurrentProcessId());
    if (process != nullptr) {
        const DWORD priority = GetPriorityClass(process);
        if (priority != 0) {
            AddText(set, "priority_class", PriorityName(priority));
        }
        DWORD_PTR mask = 0, systemMask = 0;
        if (GetProcessAffinityMask(process, &mask, &systemMask)) {
            char text[32];
            std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(mask));
            AddText(set, "affinity_mask", text);
        }
        CloseHandle(process);
    }

    AddText(set, "dpi_awareness", DpiAwareness());

    LARGE_INTEGER frequency;
    if (QueryPerformanceFrequency(&frequency)) {
        AddNumber(set, "qpc_hz", static_cast<unsigned long long>(frequency.QuadPart));
    }

    if (host) {
        TCHAR name[MAX_COMPUTERNAME_LENGTH + 1];
        DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
        if (GetComputerName(name, &size)) {
            AddText(set, "host", SystemText(name));
        }
    }
}

#ifdef UNDER_CE
static const char FLAVOUR[] = "handheld";
#else
static const char FLAVOUR[] = "desktop";
#endif

std::string VersionLine() {
    return "QuenzelRun " QUENZEL_VERSION " (" + std::string(FLAVOUR) + ")\n";
}

Setting DescribeRun(const Plan &plan, const Target &target) {
    Setting set;
    set.Flavour = FLAVOUR;
    set.Suite = plan.Wide ? "wide" : "seven";
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
    set.RunIds = {NewRunId()};
#ifdef _WIN64
    set.Architecture = "x64";
#else
    set.Architecture = "x86";
#endif
    set.WindowMs = plan.WindowMs;
    set.Repeat = plan.Repeat;
    set.Raw = plan.Raw;
    set.WarmupMs = plan.WarmupMs;
    set.Affinity = plan.Affinity;
    set.Shuffle = plan.Shuffle ? static_cast<std::int64_t>(plan.ShuffleSeed) : -1;
    set.Precision = plan.Precision;
    set.MaxSeconds = plan.MaxSeconds;
    set.Confidence = plan.Confidence;
    AddFacts(set, plan.Host);
    return set;
}
