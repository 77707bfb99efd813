// Brevik's exports and its process-wide state.
#include "Brevik.h"

#include "IEWatch.h"
#include "WinWatch.h"

#include <ctime>
#include <cstring>
#include <map>

namespace brevik {

int Running = 0;
int Active = 1;
UINT MessageId = 0;
char LogPath[MAX_PATH] = "";
LONG ModuleLocks = 0;

}  // namespace brevik

// {6C2E1A40-3B7D-4E51-9A8C-2F4D6E0B7A11}, {6C2E1A41-...}: Brevik.idl
const IID IID_IIEWatch = {0x6c2e1a40, 0x3b7d, 0x4e51, {0x9a, 0x8c, 0x2f, 0x4d, 0x6e, 0x0b, 0x7a, 0x11}};
const IID IID_IWinWatch = {0x6c2e1a41, 0x3b7d, 0x4e51, {0x9a, 0x8c, 0x2f, 0x4d, 0x6e, 0x0b, 0x7a, 0x11}};

using namespace brevik;

namespace {

HINSTANCE Module = nullptr;
int Busy = 0;
CRITICAL_SECTION MapLock;
std::map<HWND, IEWatch*> WatcherMap;
// The library's hold on itself while the monitor runs or a browser still holds a watcher:
// the browsers call into its sinks, so a host that frees it then must not unload its code.
HMODULE SelfHold = nullptr;

const char* const BlockedText = "IE simple filter: window creation blocked";

int SimpleFilter(IWebBrowser2*)
{
    WriteLogLine(BlockedText);
    return 1;
}

struct TFilter {
    char Name[256];
    int (*Callback)(IWebBrowser2* browser);
    int Enabled;
};
TFilter Filters[] = {{"IE Simple filter", SimpleFilter, 1}};
const unsigned FilterCount = sizeof Filters / sizeof Filters[0];

class TMapLock {
public:
    TMapLock() { EnterCriticalSection(&MapLock); }
    ~TMapLock() { LeaveCriticalSection(&MapLock); }
};

bool Watched(HWND window)
{
    TMapLock lock;
    return WatcherMap.count(window) != 0;
}

// Disconnects and ends every watcher, in the order of their windows.
void DetachAll()
{
    std::map<HWND, IEWatch*> watchers;
    {
        TMapLock lock;
        watchers.swap(WatcherMap);
    }
    for (auto& entry : watchers) {
        entry.second->LetGoOfBrowser();
        entry.second->Destroy();
    }
}

void TakeSelfHold()
{
    char path[MAX_PATH];
    if (!SelfHold && GetModuleFileNameA(Module, path, sizeof path))
        SelfHold = LoadLibraryA(path);
}

// The library's hold on itself goes once it is stopped and no browser holds a watcher of
// it; the caller's own reference keeps the code of this call loaded.
void ReleaseSelfHold()
{
    if (Running || ModuleLocks != 0)
        return;
    if (HMODULE hold = SelfHold) {
        SelfHold = nullptr;
        FreeLibrary(hold);
    }
}

IShellWindows* CreateShellWindows()
{
    IShellWindows* windows = nullptr;
    const DWORD context = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;
    if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, context, IID_IShellWindows,
                                reinterpret_cast<void**>(&windows))))
        return nullptr;
    return windows;
}

}  // namespace

namespace brevik {

int AttachToAllBrowsers(IShellWindows* windows)
{
    long count = 0;
    if (FAILED(windows->get_Count(&count)))
        return 0;
    for (long i = 0; i < count; ++i) {
        VARIANT index;
        VariantInit(&index);
        V_VT(&index) = VT_I4;
        V_I4(&index) = i;
        IDispatch* item = nullptr;
        if (FAILED(windows->Item(index, &item)) || !item)
            continue;
        IWebBrowser2* browser = nullptr;
        if (SUCCEEDED(item->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser))) && browser) {
            AttachWatcher(browser);
            browser->Release();
        }
        item->Release();
    }
    return 1;
}

int AttachWatcher(IWebBrowser2* browser)
{
    SHANDLE_PTR handle = 0;
    if (FAILED(browser->get_HWND(&handle)))
        return 0;
    HWND window = reinterpret_cast<HWND>(handle);
    if (Watched(window))
        return 0;
    IEWatch* watch = new (std::nothrow) IEWatch;
    if (!watch)
        return 0;
    if (!watch->ConnectToBrowser(browser)) {
        watch->Destroy();
        return 0;
    }
    bool added;
    {
        TMapLock lock;
        added = WatcherMap.emplace(window, watch).second;
    }
    if (added)
        return 1;
    // The window gained a watcher while this one connected: a call that came in meanwhile
    // (the shell announcing it again) attached it first.
    watch->LetGoOfBrowser();
    watch->Destroy();
    return 0;
}

int DetachWatcher(HWND window)
{
    IEWatch* watch = nullptr;
    {
        TMapLock lock;
        auto found = WatcherMap.find(window);
        if (found == WatcherMap.end())
            return 0;
        watch = found->second;
    }
    if (!watch->DisconnectFromBrowser())
        return 0;
    {
        TMapLock lock;
        WatcherMap.erase(window);
    }
    watch->Destroy();
    return 1;
}

int ShouldBlockNewWindow(IWebBrowser2* browser)
{
    if (!Running || !Active)
        return 0;
    for (unsigned i = 0; i < FilterCount; ++i)
        if (Filters[i].Enabled && Filters[i].Callback(browser))
            return 1;
    return 0;
}

void WriteLogLine(const char* text)
{
    if (!LogPath[0])
        return;
    // A log that cannot be written loses the line; the block is still announced.
    HANDLE file = CreateFileA(LogPath, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        char stamp[40] = "";
        time_t now = time(nullptr);
        if (const tm* local = localtime(&now))
            strftime(stamp, sizeof stamp, "%d-%m-%y  %H:%M:%S  ", local);
        DWORD written = 0;
        SetFilePointer(file, 0, nullptr, FILE_END);
        WriteFile(file, stamp, static_cast<DWORD>(strlen(stamp)), &written, nullptr);
        WriteFile(file, text, static_cast<DWORD>(strlen(text)), &written, nullptr);
        WriteFile(file, "\r\n", 2, &written, nullptr);
        CloseHandle(file);
    }
    if (MessageId)
        PostMessageA(HWND_BROADCAST, MessageId, 0, 0);
}

}  // namespace brevik

extern "C" {

int StartMonitor()
{
    if (Busy)
        return 0;
    Busy = 1;
    if (Running) {
        Busy = 0;
        return 1;
    }
    IShellWindows* windows = CreateShellWindows();
    bool started = windows && AttachToAllBrowsers(windows) && TheWinWatch.ConnectToShellWindows(windows);
    if (windows)
        windows->Release();
    if (!started) {
        // A failed start keeps no browser connected to a monitor that reports itself off.
        DetachAll();
        if (ModuleLocks != 0)
            TakeSelfHold();
        Busy = 0;
        return 0;
    }
    TakeSelfHold();
    Running = 1;
    Busy = 0;
    return 1;
}

int StopMonitor()
{
    if (Busy)
        return 0;
    Busy = 1;
    if (!Running) {
        ReleaseSelfHold();
        Busy = 0;
        return 1;
    }
    if (!TheWinWatch.DisconnectFromShellWindows()) {
        Busy = 0;
        return 0;
    }
    DetachAll();
    Running = 0;
    ReleaseSelfHold();
    Busy = 0;
    return 1;
}

int PauseMonitor(int pause)
{
    if (!Running)
        return 0;
    Active = pause == 0 ? 1 : 0;
    return 1;
}

int SetLogFile(const char* path)
{
    if (!path) {
        LogPath[0] = '\0';
        return 1;
    }
    size_t length = strnlen(path, MAX_PATH);
    if (length >= MAX_PATH)
        return 0;
    memcpy(LogPath, path, length + 1);
    return 1;
}

int GetFilterInfo(unsigned index, char* name)
{
    if (index >= FilterCount || !name)
        return 0;
    memcpy(name, Filters[index].Name, sizeof Filters[index].Name);
    return 1;
}

int EnableFilter(unsigned index, int enable)
{
    if (Running && Active)
        return 0;
    if (index >= FilterCount)
        return 0;
    Filters[index].Enabled = enable;
    return 1;
}

int IsFilterActive(unsigned index)
{
    if (index >= FilterCount)
        return 0;
    return Filters[index].Enabled;
}

STDAPI DllCanUnloadNow()
{
    return ModuleLocks == 0 ? S_OK : S_FALSE;
}

STDAPI DllGetClassObject(REFCLSID, REFIID, void** object)
{
    if (object)
        *object = nullptr;
    return CLASS_E_CLASSNOTAVAILABLE;
}

}  // extern "C"

namespace {

// The type library of this file, or of the file beside it with the extension ".tlb".
HRESULT LoadOwnTypeLib(ITypeLib** lib, WCHAR* path)
{
    if (!GetModuleFileNameW(Module, path, MAX_PATH))
        return HRESULT_FROM_WIN32(GetLastError());
    HRESULT hr = LoadTypeLibEx(path, REGKIND_NONE, lib);
    if (SUCCEEDED(hr))
        return hr;
    WCHAR* dot = wcsrchr(path, L'.');
    WCHAR* slash = wcsrchr(path, L'\\');
    if (!dot || (slash && dot < slash) || (dot - path) + 5 > MAX_PATH)
        return hr;
    wcscpy(dot, L".tlb");
    return LoadTypeLibEx(path, REGKIND_NONE, lib);
}

}  // namespace

extern "C" {

STDAPI DllRegisterServer()
{
    WCHAR path[MAX_PATH];
    ITypeLib* lib = nullptr;
    HRESULT hr = LoadOwnTypeLib(&lib, path);
    if (FAILED(hr))
        return hr;
    hr = RegisterTypeLib(lib, path, nullptr);
    lib->Release();
    return hr;
}

STDAPI DllUnregisterServer()
{
    WCHAR path[MAX_PATH];
    ITypeLib* lib = nullptr;
    HRESULT hr = LoadOwnTypeLib(&lib, path);
    if (FAILED(hr))
        return hr;
    TLIBATTR* attr = nullptr;
    hr = lib->GetLibAttr(&attr);
    if (SUCCEEDED(hr)) {
        typedef HRESULT(WINAPI * TUnRegisterTypeLib)(REFGUID, WORD, WORD, LCID, SYSKIND);
        HMODULE oleaut = GetModuleHandleA("oleaut32.dll");
        auto unregister = oleaut ? reinterpret_cast<TUnRegisterTypeLib>(
                                       reinterpret_cast<void*>(GetProcAddress(oleaut, "UnRegisterTypeLib")))
                                 : nullptr;
        hr = unregister ? unregister(attr->guid, attr->wMajorVerNum, attr->wMinorVerNum, attr->lcid, attr->syskind)
                        : HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
        lib->ReleaseTLibAttr(attr);
    }
    lib->Release();
    return hr;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH) {
        Module = instance;
        MessageId = RegisterWindowMessageA("Ostrand-Breviker");
        InitializeCriticalSection(&MapLock);
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH) {
        // While running the library holds itself, so it is unloaded running only when the
        // process ends. Then no COM call may be made under the loader lock (one to another
        // apartment would wait for ever): the stop fails and nothing is torn down.
        if (Running) {
            (void)reserved;
            TheWinWatch.Abandon();
            return FALSE;
        }
        DeleteCriticalSection(&MapLock);
    }
    return TRUE;
}

}  // extern "C"
