// QuenzelRun: the interactive program's seven tests for automation. By default it
// draws what the interactive program draws, on the same kind of window, with the
// same window rule and score; options select tests, repeat and export them.
#include "Bench.h"
#include "Options.h"
#include "Random.h"
#include "Report.h"
#include "Services.h"
#include "SourceBitmap.h"
#include "Workloads.h"

#include <cstdio>
#include <vector>

// The raw measurement times blocks of calls; a block grows up to this many calls.
constexpr INT MAX_BLOCK = 4096;

static Options Run;
static LARGE_INTEGER Frequency;
static HDC OffscreenDC;
static HBITMAP OffscreenBitmap;
static HGDIOBJ OffscreenOldBitmap;

static double Milliseconds(LONGLONG ticks) {
    return static_cast<double>(ticks) * 1000.0 / static_cast<double>(Frequency.QuadPart);
}

static LONGLONG Now() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

// Lets the window system catch up between tests (never during one).
static void Pump() {
    MSG message;
    while (PeekMessage(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessage(&message);
    }
}

static HDC ObtainTarget() {
    return OffscreenDC != nullptr ? OffscreenDC : GetDC(Bench.MainWindow);
}

static void ReleaseTarget(HDC dc) {
    if (OffscreenDC == nullptr) {
        ReleaseDC(Bench.MainWindow, dc);
    }
}

// White, as the interactive program's screen is when a test starts.
static void ClearTarget() {
    const HDC dc = ObtainTarget();
    const HBRUSH brush = CreateSolidBrush(RGB(255, 255, 255));
    const RECT rect = {0, 0, Bench.ScreenWidth, Bench.ScreenHeight};
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
    ReleaseTarget(dc);
}

// One measurement as RunTest makes it: the same loop and window rule.
static Sample ScoreSample(INT test) {
    Bench.DrawDC = ObtainTarget();
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
    const LONGLONG start = Now();
    DWORD elapsed;
    const INT64 count = CountCalls(TestTable[test].Proc, Run.WindowMs, elapsed);
    const LONGLONG end = Now();
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
    ReleaseTarget(Bench.DrawDC);

    Sample sample;
    sample.Count = count;
    sample.TickMs = elapsed;
    sample.QpcMs = Milliseconds(end - start);
    sample.PerSecond =
        static_cast<INT>(Run.WindowMs == TEST_WINDOW_MS ? count / 10 : count * 1000 / elapsed);
    sample.Rate = static_cast<double>(count) * 1000.0 / sample.QpcMs;
    return sample;
}

// The platform's ceiling: the random values of a block of calls are drawn ahead
// (making the same calls on a scratch DC), then only the block's platform calls
// are timed, until the timed blocks add up to more than the window.
static RawSample RawSampleOf(INT test, std::vector<INT> &tape) {
    const HDC target = ObtainTarget();
    const HDC scratch = CreateCompatibleDC(target);
    const HBITMAP scratchBitmap = CreateCompatibleBitmap(target, 1, 1);
    const HGDIOBJ scratchOld = SelectObject(scratch, scratchBitmap);
    DrawTape = tape.data();

    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
    const LONGLONG budget = static_cast<LONGLONG>(Run.WindowMs) * Frequency.QuadPart / 1000;
    LONGLONG spent = 0;
    INT64 calls = 0;
    INT block = 16;
    while (spent <= budget) {
        Bench.DrawDC = scratch;
        DrawTapeAt = 0;
        for (INT i = 0; i < block; i++) {
            RecordProcs[test]();
        }
        Bench.DrawDC = target;
        DrawTapeAt = 0;
        const LONGLONG start = Now();
        for (INT i = 0; i < block; i++) {
            ReplayProcs[test]();
        }
        const LONGLONG taken = Now() - start;
        spent += taken;
        calls += block;
        if (taken * 20 < budget && block < MAX_BLOCK) {
            block *= 2;
        }
    }
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);

    SelectObject(scratch, scratchOld);
    DeleteDC(scratch);
    DeleteObject(scratchBitmap);
    ReleaseTarget(target);

    RawSample sample;
    sample.Calls = calls;
    sample.QpcMs = Milliseconds(spent);
    sample.Rate = static_cast<double>(calls) * 1000.0 / sample.QpcMs;
    return sample;
}

// A fresh start's state: the generator from its beginning, the source bitmap
// built anew from its first draws.
static void FreshStart(bool first) {
    RandomReset();
    if (!first) {
        ReleaseSourceBitmap();
    }
    SetupSourceBitmap();
}

static bool WriteAtomically(const std::string &path, const std::string &text, std::string &error) {
    // A temporary name in the same folder, renamed into place once complete.
    const std::string temporary = path + ".tmp" + std::to_string(GetCurrentProcessId());
    FILE *file = std::fopen(temporary.c_str(), "wb");
    bool ok = file != nullptr;
    if (ok) {
        ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
        ok = std::fclose(file) == 0 && ok;
    }
    ok = ok && MoveFileExA(temporary.c_str(), path.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) {
        std::remove(temporary.c_str());
        error = "cannot write '" + path + "'";
    }
    return ok;
}

// The drawing area as a 24-bit BMP file; empty when no copy can be made.
static std::string Snapshot() {
    const INT width = Bench.ScreenWidth, height = Bench.ScreenHeight;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height; // bottom-up, as BMP files store rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    const HDC source = ObtainTarget();
    const HDC copy = CreateCompatibleDC(source);
    const HBITMAP bitmap = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr || bits == nullptr) {
        DeleteDC(copy);
        ReleaseTarget(source);
        return std::string();
    }
    const HGDIOBJ old = SelectObject(copy, bitmap);
    BitBlt(copy, 0, 0, width, height, source, 0, 0, SRCCOPY);
    GdiFlush();
    const DWORD rowBytes = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    const DWORD imageBytes = rowBytes * static_cast<DWORD>(height);
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + imageBytes;
    info.bmiHeader.biSizeImage = imageBytes;
    std::string out(reinterpret_cast<const char *>(&file), sizeof file);
    out.append(reinterpret_cast<const char *>(&info.bmiHeader), sizeof info.bmiHeader);
    out.append(static_cast<const char *>(bits), imageBytes);
    SelectObject(copy, old);
    DeleteDC(copy);
    DeleteObject(bitmap);
    ReleaseTarget(source);
    return out;
}

static bool ReadFile(const std::string &path, std::string &text) {
    FILE *file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        text.append(buffer, got);
    }
    const bool ok = std::ferror(file) == 0;
    std::fclose(file);
    return ok;
}

static bool IsFolder(const std::string &path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// A file can be written there: its folder exists and it is no folder itself.
static bool Writable(const std::string &path) {
    const size_t slash = path.find_last_of("/\\");
    return IsFolder(slash == std::string::npos ? "." : path.substr(0, slash + 1)) &&
           !IsFolder(path);
}

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

static bool OpenWindow() {
    WNDCLASS windowClass = {};
    windowClass.lpfnWndProc = DefWindowProc;
    windowClass.hInstance = GetModuleHandle(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = TEXT("QuenzelRunForm");
    if (RegisterClass(&windowClass) == 0) {
        return false;
    }
#ifndef UNDER_CE
    DisableProcessWindowsGhosting(); // the CE layer does this for the handheld
#endif
    Bench.MainWindow =
        CreateWindowEx(WS_EX_TOPMOST, TEXT("QuenzelRunForm"), TEXT("QuenzelRun"), WS_VISIBLE,
                       CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                       windowClass.hInstance, nullptr);
    if (Bench.MainWindow == nullptr) {
        return false;
    }
    FillScreen(Bench.MainWindow);
    Pump();
    return true;
}

static bool OpenOffscreen() {
    Bench.ScreenWidth = Run.OffscreenWidth;
    Bench.ScreenHeight = Run.OffscreenHeight;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = Run.OffscreenWidth;
    info.bmiHeader.biHeight = -Run.OffscreenHeight; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    OffscreenDC = CreateCompatibleDC(nullptr);
    OffscreenBitmap = CreateDIBSection(OffscreenDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (OffscreenBitmap == nullptr || bits == nullptr) {
        DeleteDC(OffscreenDC);
        return false;
    }
    OffscreenOldBitmap = SelectObject(OffscreenDC, OffscreenBitmap);
    return true;
}

static Setting Describe() {
    Setting set;
    set.Flavour =
#ifdef UNDER_CE
        "handheld";
#else
        "desktop";
#endif
    set.Target = OffscreenDC != nullptr ? "offscreen" : "window";
    set.Width = Bench.ScreenWidth;
    set.Height = Bench.ScreenHeight;
    const HDC screen = GetDC(nullptr);
    set.Depth = OffscreenDC != nullptr
                    ? 32
                    : GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    set.Dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    set.Windows = WindowsVersion();
    set.Wine = WineVersion();
    set.Utc = UtcNow();
    set.WindowMs = Run.WindowMs;
    set.Repeat = Run.Repeat;
    set.Raw = Run.Raw;
    return set;
}

static int Fail(const std::string &message, int code) {
    std::fprintf(stderr, "QuenzelRun: %s\n", message.c_str());
    return code;
}

int main(int argc, char *argv[]) {
    std::string error;
    if (!ParseOptions(argc, argv, Run, error)) {
        return Fail(error, 2);
    }
    if (Run.Help) {
        std::fputs(USAGE, stdout);
        return 0;
    }
    // Everything that can be checked is checked before a long run starts.
    Report old;
    if (!Run.Compare.empty()) {
        std::string text;
        if (!ReadFile(Run.Compare, text)) {
            return Fail("cannot read --compare file '" + Run.Compare + "'", 2);
        }
        if (!ParseReport(text, old, error)) {
            return Fail("--compare file '" + Run.Compare + "' is not a saved run: " + error, 2);
        }
    }
    const std::pair<const char *, std::string> outputs[] = {
        {"--json", Run.Json}, {"--csv", Run.Csv}, {"--svg", Run.Svg}, {"--snapshot", Run.Snapshot}};
    for (const auto &[option, path] : outputs) {
        if (path.empty()) {
            continue;
        }
        if (!Writable(path)) {
            return Fail(std::string(option) + " file '" + path + "' cannot be written there", 2);
        }
        for (const auto &[other, otherPath] : outputs) {
            if (other != option && otherPath == path) {
                return Fail(std::string(option) + " file '" + path + "' is also " + other, 2);
            }
        }
    }

    QueryPerformanceFrequency(&Frequency);
    if (Run.OffscreenWidth > 0 ? !OpenOffscreen() : !OpenWindow()) {
        return Fail(Run.OffscreenWidth > 0 ? "--offscreen: no bitmap of that size can be made"
                                           : "cannot open the window",
                    1);
    }

    Report report;
    report.Set = Describe();
    for (INT test : Run.Tests) {
        TestRun run;
        run.Index = test;
        run.Name = TestName(test);
        report.Tests.push_back(run);
    }
    std::string snapshot;
    std::vector<INT> tape(Run.Raw ? static_cast<size_t>(MAX_BLOCK) * MAX_DRAWS_PER_CALL : 0);
    for (INT sample = 0; sample < Run.Repeat; sample++) {
        FreshStart(sample == 0);
        // BitBlt would copy from nothing, and its figure would mean nothing.
        if (Bench.SourceBitmap == nullptr) {
            return Fail("no source bitmap of the drawing area's size can be made", 1);
        }
        for (TestRun &run : report.Tests) {
            ClearTarget();
            Pump();
            run.Samples.push_back(ScoreSample(run.Index));
            // The last sample's first test: with --repeat it shows that a sample
            // draws what a fresh start draws.
            if (!Run.Snapshot.empty() && sample == Run.Repeat - 1 && snapshot.empty()) {
                snapshot = Snapshot();
                if (snapshot.empty()) {
                    return Fail("--snapshot: no copy of the drawing area can be made", 1);
                }
            }
        }
        // The raw samples alternate with the scored ones, so that a machine whose
        // speed drifts during a long run affects both alike.
        if (Run.Raw) {
            FreshStart(false);
            for (TestRun &run : report.Tests) {
                ClearTarget();
                Pump();
                run.Raw.push_back(RawSampleOf(run.Index, tape));
            }
        }
    }
    ReleaseSourceBitmap();
    if (OffscreenDC != nullptr) {
        SelectObject(OffscreenDC, OffscreenOldBitmap);
        DeleteDC(OffscreenDC);
        DeleteObject(OffscreenBitmap);
    } else {
        DestroyWindow(Bench.MainWindow);
    }

    Summarise(report);
    const Report *before = Run.Compare.empty() ? nullptr : &old;
    std::fputs(ToTable(report, before).c_str(), stdout);
    std::fflush(stdout);
    const std::pair<const std::string &, std::string> files[] = {
        {Run.Json, Run.Json.empty() ? "" : ToJson(report)},
        {Run.Csv, Run.Csv.empty() ? "" : ToCsv(report)},
        {Run.Svg, Run.Svg.empty() ? "" : ToSvg(report, before)},
        {Run.Snapshot, snapshot},
    };
    int code = 0;
    for (const auto &[path, text] : files) {
        if (!path.empty() && !WriteAtomically(path, text, error)) {
            code = Fail(error, 1);
        }
    }
    return code;
}
