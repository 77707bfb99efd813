#include "TTimer.h"

#include "TApplication.h"

#include <set>

// Timers alive now; a tick queued for a freed timer finds it gone.
static std::set<TTimer*>& LiveTimers()
{
    static std::set<TTimer*> live;
    return live;
}

TTimer::~TTimer()
{
    FEnabled = false;
    Update();
}

void TTimer::SetEnabled(bool value)
{
    FEnabled = value;
    Update();
}

void TTimer::SetInterval(unsigned ms)
{
    FInterval = ms;
    Update();
}

void TTimer::SetOnTimer(TNotifyEvent handler)
{
    FOnTimer = std::move(handler);
    Update();
}

void TTimer::Update()
{
    HWND wnd = Application->Handle();
    auto id = reinterpret_cast<UINT_PTR>(this);
    bool run = FEnabled && FInterval > 0 && FOnTimer;
    if (run) {
        SetTimer(wnd, id, FInterval, nullptr);   // restarts the count when already set
        LiveTimers().insert(this);
    } else {
        KillTimer(wnd, id);
        LiveTimers().erase(this);
    }
}

void TTimer::Fire(UINT_PTR id)
{
    auto* t = reinterpret_cast<TTimer*>(id);
    if (!LiveTimers().count(t))
        return;
    TNotifyEvent handler = t->FOnTimer;   // the handler may free the timer
    if (handler)
        handler(t);
}
