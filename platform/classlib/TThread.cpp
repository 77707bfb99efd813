#include "TThread.h"

#include "Exceptions.h"

TThread::TThread()
{
    FHandle = CreateThread(nullptr, 0, ThreadProc, this, CREATE_SUSPENDED, &FThreadID);
    if (!FHandle)
        throw Exception("Thread creation error");
}

TThread::~TThread()
{
    // A thread freeing itself is on its own stack here: nothing to wait for.
    if (FStarted && GetCurrentThreadId() != FThreadID)
        WaitForSingleObject(FHandle, INFINITE);
    if (!FStarted) {
        // Never resumed: let the suspended thread run out without touching this object.
        FreeOnTerminate = false;
        TerminateThread(FHandle, 0);
    }
    CloseHandle(FHandle);
}

void TThread::Resume()
{
    FStarted = true;
    ResumeThread(FHandle);
}

void TThread::WaitFor()
{
    if (FStarted && !FreeOnTerminate)
        WaitForSingleObject(FHandle, INFINITE);
}

DWORD WINAPI TThread::ThreadProc(void* param)
{
    auto* self = static_cast<TThread*>(param);
    // Nothing may leave the thread's function; Execute ends its own failures.
    try {
        self->Execute();
    } catch (...) {
    }
    if (self->FreeOnTerminate)
        delete self;
    return 0;
}
