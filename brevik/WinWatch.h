#pragma once
// The watcher of the shell's window list: a browser window that registers gains a
// watcher of its own. One static object; COM never frees it.
#include "EventSink.h"

#include <exdisp.h>

class WinWatch : public TEventSink {
public:
    WinWatch();

    bool ConnectToShellWindows(IShellWindows* windows);
    bool DisconnectFromShellWindows();
    // Forgets the held list without a call into it: at process end nothing may be called.
    void Abandon() { FWindows = nullptr; }

protected:
    void OnEvent(DISPID id, DISPPARAMS* params) override;

private:
    IShellWindows* FWindows = nullptr;
};

extern WinWatch TheWinWatch;
