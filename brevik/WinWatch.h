#pragma once
// The watcher of the shell's window list: a browser window that registers gains a
// watcher of its own. One static object; COM never frees it.
#include "EventSink.h"

#include <exdisp.h>

class WinWatch : public TSourceSink<IShellWindows> {
public:
    WinWatch();

    bool ConnectToShellWindows(IShellWindows* windows) { return ConnectTo(windows); }
    bool DisconnectFromShellWindows() { return DisconnectFromSource(); }
    // Forgets the held list without a call into it: at process end nothing may be called.
    void Abandon() { FSource = nullptr; }

protected:
    void OnEvent(DISPID id, DISPPARAMS* params) override;
};

extern WinWatch TheWinWatch;
