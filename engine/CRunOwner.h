#pragma once
// What a cleaning run needs from the window that starts it, besides the window itself
// (which the run disables and enables again): its tray menu's run items and its flag that
// keeps the timer from starting a second run.
class CRunOwner {
public:
    virtual ~CRunOwner() = default;
    virtual void LockPopupMenu(bool lock) = 0;
    virtual void SetRunInProgress(bool running) = 0;
};
