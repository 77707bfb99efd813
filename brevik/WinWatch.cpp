#include "WinWatch.h"

#include "Brevik.h"

#include <exdispid.h>

WinWatch TheWinWatch;

WinWatch::WinWatch() : TEventSink(DIID_DShellWindowsEvents, IID_IWinWatch) {}

bool WinWatch::ConnectToShellWindows(IShellWindows* windows)
{
    if (!Connect(windows))
        return false;
    FWindows = windows;
    FWindows->AddRef();
    return true;
}

bool WinWatch::DisconnectFromShellWindows()
{
    if (!Disconnect(FWindows))
        return false;
    if (FWindows)
        FWindows->Release();
    FWindows = nullptr;
    return true;
}

void WinWatch::OnEvent(DISPID id, DISPPARAMS*)
{
    // Windows already watched are passed over, so only the new one gains a watcher.
    if (id == DISPID_WINDOWREGISTERED && FWindows)
        brevik::AttachToAllBrowsers(FWindows);
}
