#include "CWindowLink.h"

#include "ProgressIndicatorForm.h"

CWindowLink::CWindowLink(TIndicatorFm* window)
    : Window(window), WindowHandle(window->Handle()), FCancelEvent(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      FWorkerDone(CreateEventA(nullptr, TRUE, FALSE, nullptr))
{
}

CWindowLink::~CWindowLink()
{
    CloseHandle(FCancelEvent);
    CloseHandle(FWorkerDone);
}

bool CWindowLink::Use(const std::function<void(TIndicatorFm&)>& f)
{
    TCriticalSectionGuard guard(Lock);
    if (!Window)
        return false;
    f(*Window);
    return true;
}

void CWindowLink::WindowClosing()
{
    TCriticalSectionGuard guard(Lock);
    Window = nullptr;
}

void CWindowLink::CloseWindow()
{
    HWND wnd;
    {
        TCriticalSectionGuard guard(Lock);
        wnd = Window ? WindowHandle : nullptr;
    }
    // Outside the lock: the close takes it. A window that closes meanwhile ignores the
    // message, and a handle whose window is gone takes none.
    if (wnd)
        SendMessageA(wnd, WM_CLOSEINDICATOR, 0, 0);
}

void CWindowLink::WaitForWorker()
{
    while (MsgWaitForMultipleObjects(1, &FWorkerDone, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
        MSG m;
        PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}
