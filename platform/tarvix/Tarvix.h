#pragma once
// Tarvix: tells one window when a Ctrl key goes down and comes up, wherever the keyboard's
// input goes. It posts the registered messages "QueloraHookCtrlKeyDown" and
// "QueloraHookCtrlKeyUp" (wParam and lParam 0); a key held down and repeating posts once.
// The thread that installs the hook must keep its messages turning.
#include <windows.h>

extern "C" {
// Starts telling the window; a second call only changes the window. 0 when the hook
// cannot be set.
int InstallCtrlHook(HWND window);
// Stops telling it; call before the library is freed.
void RemoveCtrlHook();
}
