#pragma once
// Calls OnTimer every Interval milliseconds on the thread of the application window, while
// Enabled. A timer that is freed is never called again, even for a tick already queued.
#include "TComponent.h"

#include <windows.h>

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner) : TComponent(owner) {}
    ~TTimer() override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    unsigned Interval() const { return FInterval; }
    void SetInterval(unsigned ms);
    void SetOnTimer(TNotifyEvent handler);

    // The application window's tick for the timer with this id.
    static void Fire(UINT_PTR id);

private:
    void Update();
    bool FEnabled = true;
    unsigned FInterval = 1000;
    TNotifyEvent FOnTimer;
};
