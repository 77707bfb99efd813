#include "EventSink.h"

#include <ocidl.h>

HRESULT STDMETHODCALLTYPE TEventSink::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, FEvents) ||
        IsEqualIID(iid, FOwn)) {
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE TEventSink::AddRef()
{
    return InterlockedIncrement(&FRefs);
}

ULONG STDMETHODCALLTYPE TEventSink::Release()
{
    LONG refs = InterlockedDecrement(&FRefs);
    if (refs == 0)
        LastReleased();
    return refs;
}

HRESULT STDMETHODCALLTYPE TEventSink::GetTypeInfoCount(UINT* count)
{
    if (count)
        *count = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TEventSink::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info)
        *info = nullptr;
    return DISP_E_BADINDEX;
}

HRESULT STDMETHODCALLTYPE TEventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return DISP_E_UNKNOWNNAME;
}

HRESULT STDMETHODCALLTYPE TEventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                             EXCEPINFO*, UINT*)
{
    // An event may end this sink (a browser's OnQuit does): it lives until the call returns.
    AddRef();
    if (params)
        OnEvent(id, params);
    Release();
    return S_OK;
}

// A call into a source whose server has gone (Explorer or the browser ended, or restarted
// as a new process) fails with one of these; such a source calls no sink any more. A call
// whose server died while it ran fails as a failed call. An object cut off from its
// clients may also answer that its interface is unknown.
static bool ServerGone(HRESULT hr)
{
    return hr == RPC_E_SERVER_DIED || hr == RPC_E_SERVER_DIED_DNE || hr == RPC_E_DISCONNECTED ||
           hr == CO_E_OBJNOTCONNECTED || hr == HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE) ||
           hr == HRESULT_FROM_WIN32(RPC_S_CALL_FAILED) || hr == HRESULT_FROM_WIN32(RPC_S_CALL_FAILED_DNE) ||
           hr == HRESULT_FROM_WIN32(RPC_S_UNKNOWN_IF);
}

// The source's connection point of the event interface.
static HRESULT FindPoint(IUnknown* source, REFIID events, IConnectionPoint** point)
{
    *point = nullptr;
    if (!source)
        return E_POINTER;
    IConnectionPointContainer* container = nullptr;
    HRESULT hr = source->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container));
    if (FAILED(hr) || !container)
        return FAILED(hr) ? hr : E_NOINTERFACE;
    hr = container->FindConnectionPoint(events, point);
    container->Release();
    if (SUCCEEDED(hr) && !*point)
        hr = E_POINTER;
    if (FAILED(hr))
        *point = nullptr;
    return hr;
}

bool TEventSink::Connect(IUnknown* source)
{
    IConnectionPoint* point = nullptr;
    if (FAILED(FindPoint(source, FEvents, &point)))
        return false;
    DWORD cookie = NoCookie;
    HRESULT hr = point->Advise(static_cast<IDispatch*>(this), &cookie);
    point->Release();
    if (FAILED(hr) || cookie == NoCookie)
        return false;
    FCookie = cookie;
    return true;
}

bool TEventSink::Disconnect(IUnknown* source)
{
    if (FCookie == NoCookie)
        return false;
    IConnectionPoint* point = nullptr;
    HRESULT hr = FindPoint(source, FEvents, &point);
    if (SUCCEEDED(hr)) {
        hr = point->Unadvise(FCookie);
        point->Release();
    }
    if (SUCCEEDED(hr)) {
        FCookie = NoCookie;
        return true;
    }
    // A source that is gone lets go of nothing by itself: what COM still holds for it is cut.
    if (ServerGone(hr)) {
        Cut();
        return true;
    }
    // A cookie dropped after a failed Unadvise would leave a stop that can never succeed:
    // it is kept, and the next stop tries again.
    return false;
}

void TEventSink::Cut()
{
    CoDisconnectObject(static_cast<IDispatch*>(this), 0);
    FCookie = NoCookie;
}
