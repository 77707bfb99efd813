#pragma once
// The tests' stand-in for the shell's window list (FakeShellWindows.cpp), registered in the
// sandbox under CLSID_ShellWindows for the life of this object. Its calls reach the very
// module that COM loads into the test process.
#include <windows.h>
#include <oleauto.h>

#include <string>

class TFakeShellWindows {
public:
    TFakeShellWindows();
    ~TFakeShellWindows();
    bool Loaded() const { return Module != nullptr; }

    // Adds a browser with that window to the list, announcing it (WindowRegistered) when
    // asked; its index.
    int (*AddBrowser)(HWND window, int announce) = nullptr;
    // The browser is about to open a new window: its sinks answer in *cancel; how many
    // were called.
    int (*NewWindow)(int index, VARIANT_BOOL* cancel) = nullptr;
    // The browser quits and leaves the list; how many sinks were told.
    int (*Quit)(int index) = nullptr;
    // Sinks connected to a browser (-1: to the list).
    int (*Sinks)(int index) = nullptr;
    // References held on a browser (-1: on the list) besides the list's own.
    int (*Held)(int index) = nullptr;
    // 1: the list offers no connection point; 2: Unadvise fails; 4: the list cannot be made.
    void (*Failure)(int flags) = nullptr;

private:
    HMODULE Module = nullptr;
    DWORD Created = 0;
    // The registration found before, put back afterwards: the default value, ThreadingModel.
    std::string Saved[2];
    bool Had[2] = {false, false};
};
