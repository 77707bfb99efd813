#pragma once
// What both of the library's watchers are: an event sink that a browser or the shell's
// window list calls through IDispatch, connected to one connection point of its source.
#include <windows.h>
#include <ole2.h>

// The cookie of a sink that is not connected.
constexpr DWORD NoCookie = 0;

class TEventSink : public IDispatch {
public:
    TEventSink(REFIID events, REFIID own) : FEvents(events), FOwn(own) {}
    virtual ~TEventSink() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                     UINT*) override;

    bool Connected() const { return FCookie != NoCookie; }

protected:
    // One event; unknown ones are ignored.
    virtual void OnEvent(DISPID id, DISPPARAMS* params) = 0;
    // Advises this sink on the source's connection point of the event interface.
    bool Connect(IUnknown* source);
    // Unadvises it; the cookie is kept when that fails, unless the source's server has gone.
    bool Disconnect(IUnknown* source);
    // Ends every call that COM carries to this sink from another apartment or process, and
    // the references those callers hold; a caller in this apartment keeps its reference.
    void Cut();
    // What a sink that frees itself with its last reference does; the static one does not.
    virtual void LastReleased() {}

private:
    const IID& FEvents;
    const IID& FOwn;
    LONG FRefs = 1;
    DWORD FCookie = NoCookie;
};

// A sink that holds its source, with a reference, while it is connected to it.
template <class TSource>
class TSourceSink : public TEventSink {
public:
    using TEventSink::TEventSink;
    ~TSourceSink() override
    {
        if (FSource)
            FSource->Release();
    }

protected:
    bool ConnectTo(TSource* source)
    {
        if (!Connect(source))
            return false;
        FSource = source;
        FSource->AddRef();
        return true;
    }
    // The source is let go only when it let go of the sink.
    bool DisconnectFromSource()
    {
        if (!Disconnect(FSource))
            return false;
        ReleaseSource();
        return true;
    }
    // Lets go of the source whatever it answers; a source that keeps the sink is cut off
    // where COM carries its calls, and a sink still held lives on.
    void LetGoOfSource()
    {
        if (!Disconnect(FSource))
            Cut();
        ReleaseSource();
    }
    TSource* FSource = nullptr;

private:
    void ReleaseSource()
    {
        if (FSource)
            FSource->Release();
        FSource = nullptr;
    }
};
