#include "IEWatch.h"

#include "Brevik.h"

#include <exdispid.h>

IEWatch::IEWatch() : TSourceSink(DIID_DWebBrowserEvents2, IID_IIEWatch)
{
    InterlockedIncrement(&brevik::ModuleLocks);
}

IEWatch::~IEWatch()
{
    InterlockedDecrement(&brevik::ModuleLocks);
}

void IEWatch::OnEvent(DISPID id, DISPPARAMS* params)
{
    if (id == DISPID_NEWWINDOW2)
        OnNewWindow2(params);
    else if (id == DISPID_ONQUIT)
        OnQuit();
}

// The arguments come last first: the Cancel flag, then the new window's IDispatch.
void IEWatch::OnNewWindow2(DISPPARAMS* params)
{
    if (params->cArgs < 2 || V_VT(&params->rgvarg[0]) != (VT_BYREF | VT_BOOL) ||
        V_VT(&params->rgvarg[1]) != (VT_BYREF | VT_DISPATCH))
        return;
    VARIANT_BOOL* cancel = V_BOOLREF(&params->rgvarg[0]);
    IDispatch** window = V_DISPATCHREF(&params->rgvarg[1]);
    IWebBrowser2* browser = nullptr;
    if (window && *window &&
        FAILED((*window)->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser))))
        browser = nullptr;
    int block = brevik::ShouldBlockNewWindow(browser);
    if (browser)
        browser->Release();
    if (cancel)
        *cancel = block ? VARIANT_TRUE : VARIANT_FALSE;
}

void IEWatch::OnQuit()
{
    SHANDLE_PTR window = 0;
    if (FSource && SUCCEEDED(FSource->get_HWND(&window)))
        brevik::DetachWatcher(reinterpret_cast<HWND>(window));
}
