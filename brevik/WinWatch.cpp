#include "WinWatch.h"

#include "Brevik.h"

#include <exdispid.h>

WinWatch TheWinWatch;

WinWatch::WinWatch() : TSourceSink(DIID_DShellWindowsEvents, IID_IWinWatch) {}

void WinWatch::OnEvent(DISPID id, DISPPARAMS*)
{
    // Windows already watched are passed over, so only the new one gains a watcher.
    if (id == DISPID_WINDOWREGISTERED && FSource)
        brevik::AttachToAllBrowsers(FSource);
}
