#pragma once
// What a cleaning run needs from the window that starts it: its tray menu's run items, and
// its flag that keeps the timer from starting a second run; that flag's end also gives the
// window back, once nothing else keeps it disabled.
class CRunOwner {
public:
    virtual ~CRunOwner() = default;
    virtual void LockPopupMenu(bool lock) = 0;
    virtual void SetRunInProgress(bool running) = 0;
};
