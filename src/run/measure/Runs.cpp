#include "Runs.h"

#include "Arguments.h"
#include "Files.h"
#include "Group.h"
#include "Machine.h"
#include "Paths.h"
#include "Process.h"
#include "Progress.h"
#include "Watch.h"
#include "Saved.h"

#include <algorithm>
#include <cstdio>
#include <functional>

// The exit code of a run stopped from outside (Ctrl+C, a closed console or window).
constexpr DWORD STOPPED = 130;
// How long OTHER may take to say what it is.
constexpr DWORD ANSWER_MS = 60000;

// One argument as CommandLineToArgvW reads it back: quoted, each quote and the
// backslashes before it (or before the closing quote) doubled.
static std::wstring Quoted(const std::wstring &argument) {
    std::wstring out = L"\"";
    size_t slashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            slashes++;
            continue;
        }
        out.append(c == L'"' ? 2 * slashes + 1 : slashes, L'\\');
        out += c;
        slashes = 0;
    }
    return out.append(2 * slashes, L'\\') + L"\"";
}

// A file the child writes to, inherited.
static HANDLE OpenForChild(const std::wstring &name) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    return CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

enum Outcome { ENDED, NOT_STARTED, TIMED_OUT };

// Runs exe with the arguments, its output to out and its errors to err, and waits up to
// limit ms for its exit code, calling watch every tenth of a second meanwhile; one that
// does not end in time is ended.
static Outcome Launch(const std::wstring &exe, const std::vector<std::string> &arguments,
                      HANDLE out, HANDLE err, DWORD limit, DWORD &code,
                      const std::function<void()> &watch) {
    std::wstring line = Quoted(exe);
    for (const std::string &argument : arguments) {
        line += L" " + Quoted(Utf16(argument));
    }
    STARTUPINFOW start = {};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    start.hStdOutput = out;
    start.hStdError = err;
    PROCESS_INFORMATION child = {};
    if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &start, &child)) {
        return NOT_STARTED;
    }
    CloseHandle(child.hThread);
    const ULONGLONG deadline = GetTickCount64() + limit;
    bool ended = false;
    while (!ended && GetTickCount64() < deadline) {
        ended = WaitForSingleObject(child.hProcess, 100) == WAIT_OBJECT_0;
        watch();
    }
    if (!ended) {
        TerminateProcess(child.hProcess, 1);
    }
    GetExitCodeProcess(child.hProcess, &code);
    CloseHandle(child.hProcess);
    return ended ? ENDED : TIMED_OUT;
}

static std::wstring TemporaryName(const std::string &what) {
    WCHAR folder[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    return std::wstring(folder, length > MAX_PATH ? 0 : length) + L"quenzelrun-" +
           std::to_wstring(GetCurrentProcessId()) + L"-" + Utf16(what);
}

// "(desktop)" of "QuenzelRun 0.1 (desktop)".
static std::string Flavour(const std::string &version) {
    const size_t open = version.rfind('(');
    return open == std::string::npos ? ""
                                     : version.substr(open, version.find(')', open) + 1 - open);
}

bool CheckOther(const Plan &plan, std::string &error) {
    const std::wstring answer = TemporaryName("answer.txt");
    const HANDLE file = OpenForChild(answer);
    std::vector<std::string> arguments = RunArguments(plan);
    arguments.insert(arguments.end(), {"--json", Utf8(TemporaryName("check.json")), "--version"});
    // Its pictures are asked for in its first run, and none in its later ones.
    if (!plan.Pictures.empty()) {
        arguments.insert(arguments.end(), {"--pictures", OtherFolderName(plan.Pictures)});
    }
    if (plan.Runs > 2 && !plan.SkipPictures) {
        arguments.push_back("--no-pictures");
    }
    DWORD code = 1;
    const Outcome outcome =
        file == INVALID_HANDLE_VALUE
            ? NOT_STARTED
            : Launch(Utf16(plan.Alternate), arguments, file, file, ANSWER_MS, code, [] {});
    const DWORD failure = GetLastError();
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
    }
    std::string text;
    std::string ignored;
    ReadWhole("--alternate", Utf8(answer), text, ignored);
    DeleteFileW(answer.c_str());
    text = text.substr(0, text.find_first_of("\r\n"));
    const std::string cause =
        outcome == NOT_STARTED
            ? "it cannot be started (system error " + std::to_string(failure) + ")"
        : outcome == TIMED_OUT                    ? "it did not answer --version within 60 s"
        : code != 0                               ? "it does not take the options: " + text
        : text.rfind("QuenzelRun ", 0) != 0       ? "it is not a QuenzelRun: it says '" + text + "'"
        : Flavour(text) != Flavour(VersionLine()) ? "it is of another flavour: " + text
                                                  : "";
    error = "--alternate '" + plan.Alternate + "': " + cause;
    return cause.empty();
}

int MakeRuns(const Plan &plan, Report &mine, Report &other, std::string &error) {
    WCHAR self[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH * 4);
    const HANDLE nowhere = OpenForChild(L"NUL");
    DWORD mode;
    Watch watch{plan, GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0,
                PlannedPace(plan, 16, 100), static_cast<int>(plan.Tests.size())};
    int code = 0;
    for (int i = 1; i <= plan.Runs && code == 0; i++) {
        const bool theirs = !plan.Alternate.empty() && i % 2 == 0;
        const std::string who = theirs ? "'" + plan.Alternate + "'" : "this build";
        const std::wstring saved = TemporaryName(std::to_string(i) + ".json");
        std::vector<std::string> arguments = RunArguments(plan);
        arguments.insert(arguments.end(), {"--json", Utf8(saved)});
        // Each build draws the same pictures in every run: its first run draws them,
        // and writes them where they are asked for.
        if (watch.PictureRuns(i) == watch.PictureRuns(i + 1) && !plan.SkipPictures) {
            arguments.push_back("--no-pictures");
        } else if (!plan.Pictures.empty()) {
            arguments.insert(arguments.end(), {"--pictures", theirs ? OtherFolderName(plan.Pictures)
                                                                    : plan.Pictures});
        }
        // What it says goes to a file, read as it comes.
        const std::wstring words = TemporaryName(std::to_string(i) + ".txt");
        const HANDLE err = OpenForChild(words);
        watch.Begin(i, CreateFileW(words.c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD exit = 1;
        const Outcome outcome =
            Launch(theirs ? Utf16(plan.Alternate) : std::wstring(self, length), arguments, nowhere,
                   err, RunLimitMs(plan), exit, [&watch] { watch.Read(); });
        CloseHandle(err);
        watch.End();
        DeleteFileW(words.c_str());
        const std::string which =
            "run " + std::to_string(i) + " of " + std::to_string(plan.Runs) + " (" + who + ")";
        std::string text;
        Report run;
        if (exit == STOPPED) {
            // The run said so itself.
            error.clear();
            code = static_cast<int>(STOPPED);
        } else if (Interrupted) {
            error = "interrupted: nothing written";
            code = static_cast<int>(STOPPED);
        } else if (outcome == TIMED_OUT) {
            error = which + " did not end within " + std::to_string(RunLimitMs(plan) / 1000) +
                    " s, twice what its options take and a minute: it was ended";
            code = 1;
        } else if (outcome != ENDED || exit != 0) {
            error = which + " failed with exit code " + std::to_string(exit);
            code = 1;
        } else if (!ReadWhole("--runs", Utf8(saved), text, error) || !ReadRun(text, run, error) ||
                   !AddToGroup(theirs ? other : mine, run, error)) {
            error = which + ": its saved run cannot be taken: " + error;
            code = 1;
        }
        DeleteFileW(saved.c_str());
    }
    if (!plan.Quiet && watch.Console) {
        std::fputs("\n", stderr);
    }
    CloseHandle(nowhere);
    return code;
}
