// A stand-in for the shell's window list, for the popup blocker's tests: Wine's own has no
// connection point and its browser raises no events. Registered in the sandbox under
// CLSID_ShellWindows, it serves a list of browser objects (IWebBrowser2 with its window
// handle and a DWebBrowserEvents2 connection point) and raises WindowRegistered,
// WindowRevoked, NewWindow2 and OnQuit when the test asks (FakeShellWindows.h).
// It lives in the caller's apartment, or, as the shell's own list does for a program,
// in another one: a thread of its own that can die and be started again.
#include <windows.h>
#include <exdisp.h>
#include <exdispid.h>
#include <ocidl.h>
#include <olectl.h>

#include <cstdio>
#include <functional>
#include <map>
#include <vector>

namespace {

int Failure = 0; // FakeShellFailure
enum : int {
    NoListEvents = 1,
    UnadviseFails = 2,
    NoList = 4,
    BrowserUnadviseFails = 8,
    AdviseReannounces = 16,
    NewWindowObject = 32,
    DieInUnadvise = 64,
    CallFailsInDeath = 128,
    SlowDeath = 256,
};
void DieNow();
void Reannounce();
// Set once the process has begun to end: a call into the list then ends it with this code.
bool Ending = false;
const UINT CalledWhileEnding = 9;
void CheckNotEnding()
{
    if (Ending)
        TerminateProcess(GetCurrentProcess(), CalledWhileEnding);
}

// One connection point; its owner counts its references.
class TPoint : public IConnectionPoint {
public:
    TPoint(IConnectionPointContainer* owner, REFIID events) : Owner(owner), Events(events) {}
    bool OfBrowser() const { return IsEqualIID(Events, DIID_DWebBrowserEvents2); }
    ~TPoint() { Clear(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IConnectionPoint)) {
            *object = static_cast<IConnectionPoint*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return Owner->AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return Owner->Release(); }
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override
    {
        *iid = Events;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** container) override
    {
        *container = Owner;
        Owner->AddRef();
        return S_OK;
    }
    // As a real source does, it asks the sink for the event interface and holds it.
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override
    {
        IDispatch* events = nullptr;
        if (!sink || FAILED(sink->QueryInterface(Events, reinterpret_cast<void**>(&events))))
            return CONNECT_E_CANNOTCONNECT;
        // The shell announces the window again before this call returns.
        if (OfBrowser() && (Failure & AdviseReannounces)) {
            Failure &= ~AdviseReannounces;
            Reannounce();
        }
        *cookie = Next++;
        Sinks[*cookie] = events;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override
    {
        CheckNotEnding();
        if (Failure & DieInUnadvise) {
            Failure &= ~DieInUnadvise;
            DieNow();
            return (Failure & CallFailsInDeath) ? HRESULT_FROM_WIN32(RPC_S_CALL_FAILED) : RPC_E_SERVER_DIED;
        }
        auto found = Sinks.find(cookie);
        if (found == Sinks.end() || (Failure & UnadviseFails) || (OfBrowser() && (Failure & BrowserUnadviseFails)))
            return CONNECT_E_NOCONNECTION;
        IDispatch* sink = found->second;
        Sinks.erase(found);
        sink->Release();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** connections) override
    {
        *connections = nullptr;
        return E_NOTIMPL;
    }

    // Calls every sink connected now, each held for the length of its call.
    int Fire(DISPID id, DISPPARAMS* params)
    {
        std::vector<IDispatch*> sinks;
        for (auto& s : Sinks) {
            s.second->AddRef();
            sinks.push_back(s.second);
        }
        for (IDispatch* sink : sinks) {
            sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, params, nullptr, nullptr, nullptr);
            sink->Release();
        }
        return static_cast<int>(sinks.size());
    }
    int Count() const { return static_cast<int>(Sinks.size()); }
    void Clear()
    {
        for (auto& s : Sinks)
            s.second->Release();
        Sinks.clear();
    }

private:
    IConnectionPointContainer* Owner;
    const IID& Events;
    std::map<DWORD, IDispatch*> Sinks;
    DWORD Next = 1;
};

// What both fakes share: references, IDispatch that answers nothing, one connection point.
template <class TMain>
class TSource : public TMain, public IConnectionPointContainer {
public:
    TSource(REFIID own, REFIID events) : Own(own), Point(this, events) {}
    virtual ~TSource() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, Own))
            *object = static_cast<TMain*>(this);
        else if (IsEqualIID(iid, IID_IConnectionPointContainer))
            *object = static_cast<IConnectionPointContainer*>(this);
        else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++Refs; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        CheckNotEnding();
        ULONG refs = --Refs;
        if (refs == 0)
            delete this;
        return refs;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override
    {
        *points = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override
    {
        CheckNotEnding();
        IID events;
        Point.GetConnectionInterface(&events);
        if (!IsEqualIID(iid, events) || Refused()) {
            *point = nullptr;
            return CONNECT_E_NOCONNECTION;
        }
        *point = &Point;
        Point.AddRef();
        return S_OK;
    }

    ULONG Refs = 1;
    const IID& Own;
    TPoint Point;

protected:
    virtual bool Refused() const { return false; }
};

class TFakeBrowser : public TSource<IWebBrowser2> {
public:
    explicit TFakeBrowser(HWND window) : TSource(IID_IWebBrowser2, DIID_DWebBrowserEvents2), Window(window) {}
    HWND Window;

    HRESULT STDMETHODCALLTYPE get_HWND(SHANDLE_PTR* handle) override
    {
        *handle = reinterpret_cast<SHANDLE_PTR>(Window);
        return S_OK;
    }
    // Nothing else of a browser is asked for.
    HRESULT STDMETHODCALLTYPE GoBack() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GoForward() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GoHome() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GoSearch() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Navigate(BSTR, VARIANT *, VARIANT *, VARIANT *, VARIANT *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Refresh() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Refresh2(VARIANT *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Stop() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Application(IDispatch **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Parent(IDispatch **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Container(IDispatch **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Document(IDispatch **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_TopLevelContainer(VARIANT_BOOL *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Type(BSTR *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Left(LONG *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_Left(LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Top(LONG *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_Top(LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Width(LONG *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_Width(LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Height(LONG *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_Height(LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_LocationName(BSTR *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_LocationURL(BSTR *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Busy(VARIANT_BOOL *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Quit() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ClientToWindow(int *, int *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE PutProperty(BSTR, VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetProperty(BSTR, VARIANT *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Name(BSTR *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_FullName(BSTR *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Path(BSTR *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Visible(VARIANT_BOOL *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_Visible(VARIANT_BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_StatusBar(VARIANT_BOOL *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_StatusBar(VARIANT_BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_StatusText(BSTR *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_StatusText(BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_ToolBar(int *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_ToolBar(int) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_MenuBar(VARIANT_BOOL *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_MenuBar(VARIANT_BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_FullScreen(VARIANT_BOOL *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_FullScreen(VARIANT_BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Navigate2(VARIANT *, VARIANT *, VARIANT *, VARIANT *, VARIANT *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryStatusWB(OLECMDID, OLECMDF *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ExecWB(OLECMDID, OLECMDEXECOPT, VARIANT *, VARIANT *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ShowBrowserBar(VARIANT *, VARIANT *, VARIANT *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_ReadyState(READYSTATE *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Offline(VARIANT_BOOL *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_Offline(VARIANT_BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Silent(VARIANT_BOOL *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_Silent(VARIANT_BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_RegisterAsBrowser(VARIANT_BOOL *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_RegisterAsBrowser(VARIANT_BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_RegisterAsDropTarget(VARIANT_BOOL *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_RegisterAsDropTarget(VARIANT_BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_TheaterMode(VARIANT_BOOL *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_TheaterMode(VARIANT_BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_AddressBar(VARIANT_BOOL *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_AddressBar(VARIANT_BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Resizable(VARIANT_BOOL *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_Resizable(VARIANT_BOOL) override { return E_NOTIMPL; }
};

class TFakeShellWindows : public TSource<IShellWindows> {
public:
    TFakeShellWindows() : TSource(IID_IShellWindows, DIID_DShellWindowsEvents) {}
    std::vector<TFakeBrowser*> Browsers;

    HRESULT STDMETHODCALLTYPE get_Count(LONG* count) override
    {
        *count = static_cast<LONG>(Browsers.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Item(VARIANT index, IDispatch** item) override
    {
        *item = nullptr;
        if (V_VT(&index) != VT_I4 || V_I4(&index) < 0 || static_cast<size_t>(V_I4(&index)) >= Browsers.size())
            return S_FALSE;
        *item = Browsers[V_I4(&index)];
        (*item)->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE _NewEnum(IUnknown**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Register(IDispatch*, LONG, int, LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RegisterPending(LONG, VARIANT*, VARIANT*, int, LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Revoke(LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnNavigate(LONG, VARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnActivated(LONG, VARIANT_BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FindWindowSW(VARIANT*, VARIANT*, int, LONG*, int, IDispatch**) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE OnCreated(LONG, IUnknown*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ProcessAttachDetach(VARIANT_BOOL) override { return E_NOTIMPL; }

protected:
    bool Refused() const override { return Failure & NoListEvents; }
};

// The one list of the process, made at the first request in the apartment it lives in.
TFakeShellWindows* Shell = nullptr;
int LastGoneHeld = -1;
TFakeShellWindows* TheShell()
{
    if (!Shell)
        Shell = new TFakeShellWindows;
    return Shell;
}

TFakeBrowser* BrowserAt(int index)
{
    if (index < 0 || static_cast<size_t>(index) >= TheShell()->Browsers.size())
        return nullptr;
    return TheShell()->Browsers[index];
}

void Announce(DISPID id, int index)
{
    VARIANT cookie;
    VariantInit(&cookie);
    V_VT(&cookie) = VT_I4;
    V_I4(&cookie) = index + 1;
    DISPPARAMS params = {&cookie, nullptr, 1, 0};
    TheShell()->Point.Fire(id, &params);
}

// The last browser of the list is registered once more.
void Reannounce()
{
    Announce(DISPID_WINDOWREGISTERED, static_cast<int>(TheShell()->Browsers.size()) - 1);
}

// The list in an apartment of its own: a thread with a message loop that runs the test's
// requests, one at a time, while the caller's apartment keeps taking calls.
bool Apart = false;
HANDLE Server = nullptr;
DWORD ServerId = 0;
volatile bool Dying = false;
// Set by the test's thread once it waits for a dead server's end. An event, not a message:
// a message posted before the thread had taken its quit was taken by the first loop and lost.
HANDLE GoAhead = nullptr;

struct TJob {
    std::function<int()> Work;
    int Result = 0;
    HANDLE Done = nullptr;
};

DWORD WINAPI ServerLoop(void* ready)
{
    CoInitialize(nullptr);
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    SetEvent(static_cast<HANDLE>(ready));
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!msg.hwnd && msg.message == WM_APP) {
            auto* job = reinterpret_cast<TJob*>(msg.lParam);
            job->Result = job->Work();
            // Lets the next request's go-ahead come before this thread takes its quit; read
            // while the test's thread still waits for the job.
            const bool slow = Dying && (Failure & SlowDeath);
            SetEvent(job->Done);
            if (slow)
                Sleep(300);
        } else {
            DispatchMessageA(&msg);
        }
    }
    // A dead server's objects are gone for its clients, and every call to them fails. The
    // thread lets go of the clients' sinks only once the test's thread waits for its end, so
    // that no release of its crosses one of the client's. What they held of the list stays.
    for (;;) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        if (MsgWaitForMultipleObjectsEx(1, &GoAhead, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE) == WAIT_OBJECT_0)
            break;
    }
    Shell = nullptr;
    CoUninitialize();
    return 0;
}

// How long the test's thread waits for the list's thread at most: longer is a hang, and the
// process ends saying what it waited for.
const DWORD RequestLimitMs = 30000;
const UINT RequestHung = 8;

// Waits for the handle while this apartment's messages, and so the calls into it, go on.
// What is in the queue is taken before each wait, and a wait ends for any message waiting:
// a wait for new messages alone missed the release that a dying server thread posts to this
// apartment while the test's last call into it returns, and each thread then waited for the
// other.
void PumpUntil(HANDLE handle, const char* what)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        const DWORD spent = GetTickCount() - start;
        DWORD got = WAIT_TIMEOUT;
        if (spent < RequestLimitMs)
            got = MsgWaitForMultipleObjectsEx(1, &handle, RequestLimitMs - spent, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (got == WAIT_OBJECT_0)
            return;
        if (got != WAIT_OBJECT_0 + 1) {
            fprintf(stderr, "the stand-in shell list: %s took more than %lu s (wait result %lu, error %lu)\n", what,
                    RequestLimitMs / 1000, got, GetLastError());
            fflush(stdout);
            fflush(stderr);
            TerminateProcess(GetCurrentProcess(), RequestHung);
        }
    }
}

int Run(std::function<int()> work)
{
    if (!Apart)
        return work();
    if (Server && Dying) {
        SetEvent(GoAhead);
        PumpUntil(Server, "the end of the dead server's thread");
        CloseHandle(Server);
        Server = nullptr;
        Dying = false;
    }
    if (!Server) {
        if (!GoAhead)
            GoAhead = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        ResetEvent(GoAhead);
        HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        Server = CreateThread(nullptr, 0, ServerLoop, ready, 0, &ServerId);
        PumpUntil(ready, "the start of the server's thread");
        CloseHandle(ready);
    }
    TJob job;
    job.Work = std::move(work);
    job.Done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    PostThreadMessageA(ServerId, WM_APP, 0, reinterpret_cast<LPARAM>(&job));
    PumpUntil(job.Done, "a request on the server's thread");
    CloseHandle(job.Done);
    return job.Result;
}

// The server goes: every object it served is cut off from its clients, and the loop ends
// once the call in progress has returned.
void DieNow()
{
    for (TFakeBrowser* browser : TheShell()->Browsers)
        CoDisconnectObject(static_cast<IWebBrowser2*>(browser), 0);
    CoDisconnectObject(static_cast<IShellWindows*>(TheShell()), 0);
    Dying = true;
    PostQuitMessage(0);
}

class TFactory : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *object = this;
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override
    {
        *object = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        if (Failure & NoList)
            return E_OUTOFMEMORY;
        if (!Apart)
            return TheShell()->QueryInterface(iid, object);
        IStream* stream = nullptr;
        HRESULT hr = Run([&] {
            return static_cast<int>(CoMarshalInterThreadInterfaceInStream(iid, static_cast<IShellWindows*>(TheShell()), &stream));
        });
        return FAILED(hr) ? hr : CoGetInterfaceAndReleaseStream(stream, iid, object);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
} Factory;

}  // namespace

extern "C" {

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** object)
{
    if (!IsEqualCLSID(clsid, CLSID_ShellWindows)) {
        *object = nullptr;
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return Factory.QueryInterface(iid, object);
}

// The list and its browsers stay until the process ends.
STDAPI DllCanUnloadNow()
{
    return S_FALSE;
}

int FakeShellAddBrowser(HWND window, int announce)
{
    return Run([=] {
        TheShell()->Browsers.push_back(new TFakeBrowser(window));
        int index = static_cast<int>(TheShell()->Browsers.size()) - 1;
        if (announce)
            Announce(DISPID_WINDOWREGISTERED, index);
        return index;
    });
}

// The new window is a browser object of its own when asked (NewWindowObject), else none.
int FakeShellNewWindow(int index, VARIANT_BOOL* cancel)
{
    VARIANT_BOOL answer = VARIANT_FALSE;
    int called = Run([&] {
        TFakeBrowser* browser = BrowserAt(index);
        if (!browser)
            return -1;
        TFakeBrowser* made = (Failure & NewWindowObject) ? new TFakeBrowser(nullptr) : nullptr;
        // The caller's reference goes with the in-and-out argument, and comes back with it.
        IDispatch* window = made;
        if (made)
            made->AddRef();
        VARIANT args[2];
        VariantInit(&args[0]);
        VariantInit(&args[1]);
        V_VT(&args[0]) = VT_BYREF | VT_BOOL;
        V_BOOLREF(&args[0]) = &answer;
        V_VT(&args[1]) = VT_BYREF | VT_DISPATCH;
        V_DISPATCHREF(&args[1]) = &window;
        DISPPARAMS params = {args, nullptr, 2, 0};
        int sinks = browser->Point.Fire(DISPID_NEWWINDOW2, &params);
        if (window)
            window->Release();
        if (made) {
            LastGoneHeld = static_cast<int>(made->Refs) - 1;
            made->Release();
        }
        return sinks;
    });
    *cancel = answer;
    return called;
}

// The browser quits: it says so, then leaves the list. The sinks still connected once the
// event has returned; the references they left on the browser go to FakeShellHeld(-2).
int FakeShellQuit(int index)
{
    return Run([=] {
        TFakeBrowser* browser = BrowserAt(index);
        if (!browser)
            return -1;
        DISPPARAMS params = {nullptr, nullptr, 0, 0};
        browser->Point.Fire(DISPID_ONQUIT, &params);
        int left = browser->Point.Count();
        TheShell()->Browsers.erase(TheShell()->Browsers.begin() + index);
        LastGoneHeld = static_cast<int>(browser->Refs) - 1;
        browser->Release();
        return left;
    });
}

// The browser's window goes without a word from the browser: the list tells of it, and its
// clients lose the browser object; the sinks it held stay held.
int FakeShellRevoke(int index)
{
    return Run([=] {
        TFakeBrowser* browser = BrowserAt(index);
        if (!browser)
            return -1;
        Announce(DISPID_WINDOWREVOKED, index);
        TheShell()->Browsers.erase(TheShell()->Browsers.begin() + index);
        CoDisconnectObject(static_cast<IWebBrowser2*>(browser), 0);
        return 0;
    });
}

// Connected sinks of a browser; of the list itself for -1.
int FakeShellSinks(int index)
{
    return Run([=] {
        if (index == -1)
            return TheShell()->Point.Count();
        TFakeBrowser* browser = BrowserAt(index);
        return browser ? browser->Point.Count() : -1;
    });
}

// References held on a browser besides the list's own; on the list for -1; for -2, on the
// last object that left: a new window's, or a browser that quit, once its event returned.
int FakeShellHeld(int index)
{
    return Run([=] {
        if (index == -2)
            return LastGoneHeld;
        if (index == -1)
            return static_cast<int>(TheShell()->Refs) - 1;
        TFakeBrowser* browser = BrowserAt(index);
        return browser ? static_cast<int>(browser->Refs) - 1 : -1;
    });
}

void FakeShellFailure(int flags)
{
    Failure = flags;
}

// From now on the list lives in an apartment of its own (call before any other request).
void FakeShellApartment()
{
    Apart = true;
}

// The list's server dies between two calls; the next request starts a new one with an
// empty list. 0 when the list is in the caller's apartment, which cannot die.
int FakeShellDie()
{
    return Apart && Run([] {
        DieNow();
        return 1;
    });
}

// A process of its own (rundll32) that watches through the library named on the command
// line and ends without stopping it. Its exit code: 0 when nothing called the list while
// the process ended, 9 when something did, 2 and 3 when the library would not start.
void CALLBACK FakeShellExitWatched(HWND, HINSTANCE, LPSTR library, int)
{
    CoInitialize(nullptr);
    FakeShellAddBrowser(reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234)), 0);
    HMODULE module = LoadLibraryA(library);
    auto start = module ? reinterpret_cast<int (*)()>(reinterpret_cast<void*>(GetProcAddress(module, "StartMonitor")))
                        : nullptr;
    if (!start)
        ExitProcess(2);
    if (start() != 1)
        ExitProcess(3);
    Ending = true;
    ExitProcess(0);
}

}  // extern "C"
