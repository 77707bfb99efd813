#pragma once
// Ends a case that has hung, well before CTest's limit: after the time given it names the
// case and where its thread waits (module and offset of each frame), and ends the process.
// The hung thread may hold the heap, the C runtime's locks or the loader lock: what is
// written once it is stopped was made beforehand, and the frames are read on a thread of
// their own that the report waits for a few seconds at most.
#include <windows.h>

class TTestWatchdog {
public:
    explicit TTestWatchdog(DWORD limitMs);
    ~TTestWatchdog();
    TTestWatchdog(const TTestWatchdog&) = delete;
    TTestWatchdog& operator=(const TTestWatchdog&) = delete;

private:
    static DWORD WINAPI Watch(void* self);
    static DWORD WINAPI ReadFrames(void* self);
    DWORD LimitMs;
    HANDLE Watched = nullptr;   // the case's thread
    HANDLE Done = nullptr;
    HANDLE Thread = nullptr;
    HANDLE Reader = nullptr;    // reads the frames once told to
    HANDLE ReadNow = nullptr;
    HANDLE Read = nullptr;
    HANDLE Up[2] = {nullptr, nullptr};   // each thread runs: it no longer needs the loader lock to start
    char Heading[512] = "";     // "Suite.Case has hung ...", made while the case still runs
    char Frames[2048] = "";
};
