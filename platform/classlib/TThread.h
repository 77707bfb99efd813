#pragma once
// A thread that runs Execute once. It is made suspended, so that the whole derived object
// exists before Execute can start, and runs on Resume. With FreeOnTerminate it deletes
// itself when Execute returns; nothing else may touch it after Resume then.
#include <windows.h>

class TThread {
public:
    TThread();
    virtual ~TThread();
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    void Resume();
    // Waits for Execute to return (not for a thread that frees itself).
    void WaitFor();
    DWORD ThreadID() const { return FThreadID; }

    bool FreeOnTerminate = false;

protected:
    virtual void Execute() = 0;

private:
    static DWORD WINAPI ThreadProc(void* self);
    HANDLE FHandle = nullptr;
    DWORD FThreadID = 0;
    bool FStarted = false;
};
