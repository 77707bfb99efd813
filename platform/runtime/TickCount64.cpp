#include "TickCount64.h"

ULONGLONG TTickWidener::Widen(DWORD ticks)
{
    if (ticks < Last)
        ++Wraps;
    Last = ticks;
    return (static_cast<ULONGLONG>(Wraps) << 32) | ticks;
}

namespace {

TTickWidener ProcessTicks;
volatile LONG ProcessTicksBusy = 0;

using TickCount64 = ULONGLONG(WINAPI*)();

ULONGLONG WINAPI FirstTickCount64()
{
    auto system = reinterpret_cast<TickCount64>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetTickCount64")));
    TickCount64 chosen = system ? system : WidenedTickCount;
    // Threads racing here all store the same function.
    InterlockedExchangePointer(reinterpret_cast<PVOID volatile*>(&TickCount64Slot), reinterpret_cast<PVOID>(chosen));
    return chosen();
}

}  // namespace

ULONGLONG WINAPI WidenedTickCount()
{
    // The reading is taken under the lock: a thread holding an older reading must not store
    // it after a newer one, or the newer would look like a wrap.
    while (InterlockedCompareExchange(&ProcessTicksBusy, 1, 0) != 0)
        Sleep(1);
    ULONGLONG ticks = ProcessTicks.Widen(GetTickCount());
    InterlockedExchange(&ProcessTicksBusy, 0);
    return ticks;
}

ULONGLONG(WINAPI* TickCount64Slot)() = FirstTickCount64;
