// Morwen: the in-process server of the context-menu item that hands files to Vantrel. It
// registers its class where the shell looks for it (RegSvr32 "/i" calls DllInstall too).
#include "CContextMenuExt.h"
#include "MorwenClsid.h"

#include <windows.h>
#include <olectl.h>

#include <string>
#include <vector>

namespace {

HMODULE Module = nullptr;
// References to the class factory and the shell's server locks: the shell may hold the
// factory across its calls to DllCanUnloadNow, and the library must outlive it.
LONG FactoryRefs = 0;

const char ClassKey[] = "CLSID\\" MORWEN_CLSID_TEXT;
const wchar_t ClassKeyW[] = L"CLSID\\" MORWEN_CLSID_TEXT;
const char UserClasses[] = "Software\\Classes\\";
const char ApprovedKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";

class CClassFactory : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override
    {
        if (!out)
            return E_POINTER;
        if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IClassFactory)) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        *out = this;
        AddRef();
        return S_OK;
    }
    // One static factory, never freed; its references only keep the library loaded.
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&FactoryRefs); }
    STDMETHODIMP_(ULONG) Release() override { return InterlockedDecrement(&FactoryRefs); }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        auto* ext = new (std::nothrow) CContextMenuExt;
        if (!ext)
            return E_OUTOFMEMORY;
        HRESULT hr = ext->QueryInterface(riid, out);
        ext->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL lock) override
    {
        if (lock)
            AddRef();
        else
            Release();
        return S_OK;
    }
};

CClassFactory Factory;

bool SetString(HKEY root, const std::string& key, const char* name, const std::string& value)
{
    HKEY k;
    if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr) != ERROR_SUCCESS)
        return false;
    LONG rc = RegSetValueExA(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>(value.size() + 1));
    RegCloseKey(k);
    return rc == ERROR_SUCCESS;
}

// The class under the given classes root ("" for HKEY_CLASSES_ROOT itself).
bool RegisterClassUnder(HKEY root, const std::string& classes, const std::string& modulePath)
{
    std::string key = classes + ClassKey;
    return SetString(root, key, nullptr, "Morwen context menu") &&
           SetString(root, key + "\\InprocServer32", nullptr, modulePath) &&
           SetString(root, key + "\\InprocServer32", "ThreadingModel", "Apartment");
}

// Deletes the key with every key below it; true when it is gone (or was never there). Keys
// are found by their own names, which the ANSI code page may not spell (another program or a
// shell cache may name one in any script). Each key below is tried once: one that will not go
// (the user may not open or delete it) stays, with the keys above it, and the walk goes on.
bool DeleteTreeKey(HKEY root, const std::wstring& key)
{
    HKEY k;
    LONG rc = RegOpenKeyExW(root, key.c_str(), 0, KEY_ENUMERATE_SUB_KEYS, &k);
    if (rc != ERROR_SUCCESS)
        return rc == ERROR_FILE_NOT_FOUND;
    std::vector<std::wstring> below;
    wchar_t name[256];   // the longest key name and its end
    DWORD length = 256;
    for (DWORD i = 0; (rc = RegEnumKeyExW(k, i, name, &length, nullptr, nullptr, nullptr, nullptr)) == ERROR_SUCCESS;
         ++i, length = 256)
        below.push_back(name);
    bool gone = rc == ERROR_NO_MORE_ITEMS;
    for (const std::wstring& sub : below)
        gone = DeleteTreeKey(k, sub) && gone;
    RegCloseKey(k);
    return gone && RegDeleteKeyW(root, key.c_str()) == ERROR_SUCCESS;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        Module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (!IsEqualCLSID(clsid, CLSID_Morwen))
        return CLASS_E_CLASSNOTAVAILABLE;
    return Factory.QueryInterface(riid, out);
}

STDAPI DllCanUnloadNow()
{
    return CContextMenuExt::Objects == 0 && FactoryRefs == 0 ? S_OK : S_FALSE;
}

STDAPI DllRegisterServer()
{
    char path[MAX_PATH + 1];
    DWORD n = GetModuleFileNameA(Module, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return SELFREG_E_CLASS;
    // For the whole machine where the user may, else for the user alone.
    if (!RegisterClassUnder(HKEY_CLASSES_ROOT, "", path) && !RegisterClassUnder(HKEY_CURRENT_USER, UserClasses, path))
        return SELFREG_E_CLASS;
    // Where the shell runs only approved extensions; a user without the right goes without.
    SetString(HKEY_LOCAL_MACHINE, ApprovedKey, MORWEN_CLSID_TEXT, "Morwen context menu");
    return S_OK;
}

STDAPI DllUnregisterServer()
{
    bool gone = DeleteTreeKey(HKEY_CLASSES_ROOT, ClassKeyW);
    gone = DeleteTreeKey(HKEY_CURRENT_USER, L"Software\\Classes\\" + std::wstring(ClassKeyW)) && gone;
    HKEY k;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, ApprovedKey, 0, KEY_SET_VALUE, &k) == ERROR_SUCCESS) {
        RegDeleteValueA(k, MORWEN_CLSID_TEXT);
        RegCloseKey(k);
    }
    return gone ? S_OK : SELFREG_E_CLASS;
}

STDAPI DllInstall(BOOL install, LPCWSTR)
{
    return install ? DllRegisterServer() : DllUnregisterServer();
}
