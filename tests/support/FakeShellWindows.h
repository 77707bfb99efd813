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
    // The browser quits and leaves the list; how many sinks were still connected to it
    // once its event had returned.
    int (*Quit)(int index) = nullptr;
    // The browser's window leaves the list without quitting, and the browser object is cut
    // off from its clients (another apartment only), holding its sinks.
    int (*Revoke)(int index) = nullptr;
    // Sinks connected to a browser (-1: to the list).
    int (*Sinks)(int index) = nullptr;
    // References held on a browser (-1: on the list; -2: on the last object that left, a
    // new window's or a browser that quit, after its event) besides the list's own.
    int (*Held)(int index) = nullptr;
    // What goes wrong from now on, the flags below.
    void (*Failure)(int flags) = nullptr;
    enum {
        NoListEvents = 1,          // the list offers no connection point
        UnadviseFails = 2,         // every Unadvise fails
        NoList = 4,                // the list cannot be made
        BrowserUnadviseFails = 8,  // a browser's Unadvise fails, the list's works
        AdviseReannounces = 16,    // the next Advise on a browser registers the last window again first
        NewWindowObject = 32,      // NewWindow2 offers a browser object of its own
        DieInUnadvise = 64,        // the server dies while running the next Unadvise
        CallFailsInDeath = 128,    // and that call fails as a call does whose server died during it
        SlowDeath = 256,           // a dying server's thread is slow to take its end
    };
    // The list lives in an apartment of its own from now on, as the shell's does for a
    // program; call before any other request.
    void (*Apartment)() = nullptr;
    // The list's server dies; the next request starts a new one with an empty list.
    int (*Die)() = nullptr;
    // The module's path, for a process of its own.
    std::string Path() const;

private:
    HMODULE Module = nullptr;
    DWORD Created = 0;
    // The registration found before, put back afterwards: the default value, ThreadingModel.
    std::string Saved[2];
    bool Had[2] = {false, false};
};
