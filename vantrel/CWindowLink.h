#pragma once
// What Vantrel's window and its worker share: the cancel event and the way to the window.
// Each side holds the link, so the event is closed only when neither can still test it;
// the worker reaches the window only through Use, which refuses once the window has begun to
// close, and the close waits at most for a label write in progress, never for the worker.
#include "TCriticalSection.h"

#include <windows.h>

#include <functional>

class TIndicatorFm;

class CWindowLink {
public:
    explicit CWindowLink(TIndicatorFm* window);
    ~CWindowLink();
    CWindowLink(const CWindowLink&) = delete;
    CWindowLink& operator=(const CWindowLink&) = delete;

    HANDLE CancelEvent() const { return FCancelEvent; }
    bool IsCancelled() const { return WaitForSingleObject(FCancelEvent, 0) == WAIT_OBJECT_0; }
    void Cancel() { SetEvent(FCancelEvent); }

    // Runs f on the window unless it is closing; false when it was not run.
    bool Use(const std::function<void(TIndicatorFm&)>& f);
    // From the window's close: no Use starts after this returns.
    void WindowClosing();

    // From the worker: asks the window to close (a send, so the worker waits while the
    // window thread closes it); nothing when it is closing already.
    void CloseWindow();
    // From the worker, last: its work is over.
    void WorkerDone() { SetEvent(FWorkerDone); }
    // From the window thread after its message loop: waits for the worker to end (a
    // cancelled file is still being deleted), answering what it sends meanwhile.
    void WaitForWorker();

private:
    TCriticalSection Lock;
    TIndicatorFm* Window;
    HWND WindowHandle;
    HANDLE FCancelEvent;
    HANDLE FWorkerDone;
};
