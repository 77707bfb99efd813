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

// The source's connection point of the event interface, or null.
static IConnectionPoint* FindPoint(IUnknown* source, REFIID events)
{
    IConnectionPointContainer* container = nullptr;
    if (!source ||
        FAILED(source->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container))) ||
        !container)
        return nullptr;
    IConnectionPoint* point = nullptr;
    if (FAILED(container->FindConnectionPoint(events, &point)))
        point = nullptr;
    container->Release();
    return point;
}

bool TEventSink::Connect(IUnknown* source)
{
    IConnectionPoint* point = FindPoint(source, FEvents);
    if (!point)
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
    IConnectionPoint* point = FCookie == NoCookie ? nullptr : FindPoint(source, FEvents);
    if (!point)
        return false;
    HRESULT hr = point->Unadvise(FCookie);
    point->Release();
    // A cookie dropped after a failed Unadvise would leave a stop that can never succeed:
    // it is kept, and the next stop tries again.
    if (FAILED(hr))
        return false;
    FCookie = NoCookie;
    return true;
}
