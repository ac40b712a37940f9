#include "Watch.h"

#include <algorithm>
#include <cstdio>

int Watch::PictureRuns(int from) const {
    return Asked.SkipPictures ? 0
           : from <= 1        ? (Asked.Alternate.empty() ? 1 : 2)
                              : from == 2 && !Asked.Alternate.empty();
}

double Watch::CommandLeftMs(ULONGLONG now) const {
    const double own =
        LeftMs >= 0
            ? LeftMs - static_cast<double>(now - Last)
            : MsFor(RunSteps(Asked, Tests, PictureRuns(Run) > PictureRuns(Run + 1)), Speed) +
                  OverheadMs - static_cast<double>(now - Launched);
    return std::max(own, 0.0) +
           LaterRunsMs(Asked, Tests, Asked.Runs - Run, PictureRuns(Run + 1), Speed, OverheadMs);
}

void Watch::Show(ULONGLONG now, bool force) {
    if (Asked.Quiet || (!Console && !force && now - Shown < 10000)) {
        return;
    }
    // The time left is told once a run has told its own.
    const bool theirs = !Asked.Alternate.empty() && Run % 2 == 0;
    ShowProgress("run " + std::to_string(Run) + " of " + std::to_string(Asked.Runs) +
                     (theirs ? ", the other build" : ", this build") +
                     (Ended > 0 || First > 0
                          ? ": " + TimeLeft(CommandLeftMs(now) / 1000, Asked.Precision > 0)
                          : ""),
                 Console);
    Shown = now;
}

void Watch::Begin(int run, HANDLE lines) {
    Run = run;
    Lines = lines;
    Launched = GetTickCount64();
    First = Last = 0;
    LeftMs = -1;
    Show(Launched, true);
}

void Watch::Line(const std::string &line, ULONGLONG now) {
    StepKind kind;
    double left;
    int tests;
    if (!ReadProgress(line, kind, left, tests)) {
        if (std::find(Said.begin(), Said.end(), line) == Said.end()) {
            Said.push_back(line);
            std::fprintf(stderr, "%s%s\n", Console && Shown > 0 ? "\n" : "", line.c_str());
        }
        return;
    }
    const bool first = First == 0;
    if (first) {
        First = now;
        FirstKind = kind;
        // Until a run has ended, its time besides its steps is its time to start.
        OverheadMs = Ended > 0
                         ? OverheadMs
                         : std::max(static_cast<double>(now - Launched) - Speed.Ms[kind], 0.0);
    } else {
        Speed.Add(kind, static_cast<double>(now - Last));
    }
    Tests = tests > 0 ? tests : Tests;
    Last = now;
    LeftMs = left * 1000;
    Show(now, first);
}

void Watch::Read() {
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(Lines, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        Partial.append(buffer, got);
    }
    const ULONGLONG now = GetTickCount64();
    for (size_t end; (end = Partial.find('\n')) != std::string::npos;) {
        std::string line = Partial.substr(0, end);
        Partial.erase(0, end + 1);
        line.erase(line.find_last_not_of('\r') + 1);
        Line(line, now);
    }
}

void Watch::End() {
    Read();
    CloseHandle(Lines);
    const ULONGLONG now = GetTickCount64();
    if (First > 0) {
        const double besides =
            static_cast<double>(now - Launched - (Last - First)) - Speed.Ms[FirstKind];
        OverheadMs = Ended == 0 ? std::max(besides, 0.0)
                                : (OverheadMs * Ended + std::max(besides, 0.0)) / (Ended + 1);
        Ended++;
    }
}
