#pragma once
// The popup blocker's process-wide state and the steps its watchers share. Every call and
// every event runs on the one thread that started the monitor (a single-threaded COM
// apartment with a message loop); only the watcher map has a lock of its own.
#include <windows.h>
#include <exdisp.h>

namespace brevik {

extern int Running;        // the monitor is started
extern int Active;         // not paused: blocking happens only while running and active
extern UINT MessageId;     // "Ostrand-Breviker", 0 when it could not be registered
extern char LogPath[MAX_PATH];
extern LONG ModuleLocks;   // one per live watcher

// Watches every window of the shell's list that answers IWebBrowser2; 0 when the list
// cannot be counted.
int AttachToAllBrowsers(IShellWindows* windows);
// Watches one browser window, once; 0 when it is watched already or cannot be connected.
int AttachWatcher(IWebBrowser2* browser);
// Stops watching the window; 0 when it is not watched or cannot be disconnected.
int DetachWatcher(HWND window);
// Whether a new window of a browser is cancelled.
int ShouldBlockNewWindow(IWebBrowser2* browser);
// Appends a time-stamped line to the log and announces the block.
void WriteLogLine(const char* text);

}  // namespace brevik

// The watchers' own interfaces, as Brevik.idl names them.
extern const IID IID_IIEWatch;
extern const IID IID_IWinWatch;
