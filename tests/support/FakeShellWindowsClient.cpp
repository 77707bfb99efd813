#include "FakeShellWindows.h"

#include "TestSupport.h"

#include <string>

namespace {

const char* const ServerKey = "Software\\Classes\\CLSID\\{9BA05972-F6A8-11CF-A442-00A0C90A8F39}\\InprocServer32";

template <class T>
void Resolve(HMODULE module, T& entry, const char* name)
{
    entry = reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

TFakeShellWindows::TFakeShellWindows()
{
    std::string path = testing_support::ExeDir() + "\\fakeshellwindows.dll";
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, ServerKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) ==
        ERROR_SUCCESS) {
        RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                       static_cast<DWORD>(path.size() + 1));
        RegSetValueExA(key, "ThreadingModel", 0, REG_SZ, reinterpret_cast<const BYTE*>("Apartment"), 10);
        RegCloseKey(key);
    }
    Module = LoadLibraryA(path.c_str());
    if (!Module)
        return;
    Resolve(Module, AddBrowser, "FakeShellAddBrowser");
    Resolve(Module, NewWindow, "FakeShellNewWindow");
    Resolve(Module, Quit, "FakeShellQuit");
    Resolve(Module, Sinks, "FakeShellSinks");
    Resolve(Module, Held, "FakeShellHeld");
    Resolve(Module, Failure, "FakeShellFailure");
}

// The module stays: COM may still hold objects of it until the apartment ends.
TFakeShellWindows::~TFakeShellWindows()
{
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, ServerKey);
}
