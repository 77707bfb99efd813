#pragma once
// Ends a case that has hung, well before CTest's limit: after the time given it names the
// case and where its thread waits (module and offset of each frame), and ends the process.
#include <windows.h>

class TTestWatchdog {
public:
    explicit TTestWatchdog(DWORD limitMs);
    ~TTestWatchdog();
    TTestWatchdog(const TTestWatchdog&) = delete;
    TTestWatchdog& operator=(const TTestWatchdog&) = delete;

private:
    static DWORD WINAPI Watch(void* self);
    DWORD LimitMs;
    HANDLE Watched = nullptr;   // the case's thread
    HANDLE Done = nullptr;
    HANDLE Thread = nullptr;
};
