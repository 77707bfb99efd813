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

std::string Read(HKEY key, const char* name, bool& had)
{
    char buf[MAX_PATH * 2] = {};
    DWORD size = sizeof buf - 1;
    had = RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buf), &size) == ERROR_SUCCESS;
    return buf;
}

void Write(HKEY key, const char* name, const std::string& value)
{
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
}

}  // namespace

// The sandbox's own registration of the class is put back afterwards.
TFakeShellWindows::TFakeShellWindows()
{
    std::string path = Path();
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, ServerKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key,
                        &Created) == ERROR_SUCCESS) {
        Saved[0] = Read(key, nullptr, Had[0]);
        Saved[1] = Read(key, "ThreadingModel", Had[1]);
        Write(key, nullptr, path);
        Write(key, "ThreadingModel", "Apartment");
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
    Resolve(Module, Revoke, "FakeShellRevoke");
    Resolve(Module, Apartment, "FakeShellApartment");
    Resolve(Module, Die, "FakeShellDie");
    if (Failure)
        Failure(0);
}

std::string TFakeShellWindows::Path() const
{
    return testing_support::ExeDir() + "\\fakeshellwindows.dll";
}

// The module stays: COM may still hold objects of it until the apartment ends.
TFakeShellWindows::~TFakeShellWindows()
{
    if (Created == REG_CREATED_NEW_KEY) {
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, ServerKey);
        return;
    }
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, ServerKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    const char* names[] = {nullptr, "ThreadingModel"};
    for (int i = 0; i < 2; ++i) {
        if (Had[i])
            Write(key, names[i], Saved[i]);
        else
            RegDeleteValueA(key, names[i]);
    }
    RegCloseKey(key);
}
