// GoogleTest's start signal for the threads it makes, on a Win32 event: MinGW's Win32
// thread model has no std::mutex, from which GoogleTest would build it.
#pragma once

#include <windows.h>

namespace testing::internal {

struct Notification {
    const HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ~Notification() {
        CloseHandle(event);
    }
    void Notify() {
        SetEvent(event);
    }
    void WaitForNotification() {
        WaitForSingleObject(event, INFINITE);
    }
};

} // namespace testing::internal
