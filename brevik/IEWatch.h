#pragma once
// One browser window's watcher: cancels the new windows it is about to open and leaves
// the watch when the browser quits. The library makes and ends watchers itself.
#include "EventSink.h"

#include <exdisp.h>

class IEWatch : public TSourceSink<IWebBrowser2> {
public:
    IEWatch();
    ~IEWatch() override;

    bool ConnectToBrowser(IWebBrowser2* browser) { return ConnectTo(browser); }
    bool DisconnectFromBrowser() { return DisconnectFromSource(); }
    void LetGoOfBrowser() { LetGoOfSource(); }
    // Ends the library's own reference; an event in progress keeps the watcher until it
    // returns.
    void Destroy() { Release(); }

protected:
    void OnEvent(DISPID id, DISPPARAMS* params) override;
    void LastReleased() override { delete this; }

private:
    void OnNewWindow2(DISPPARAMS* params);
    void OnQuit();
};
