// GetTickCount64 as the thread runtime calls it, on every Windows the programs support: the
// system's own where there is one (Vista on), else the 32-bit count widened by its wraps.
#pragma once

#include <windows.h>

// Widens successive readings of the 32-bit tick count, which wraps after 49.7 days, into a
// count that does not. A wrap shows as a reading below the one before, so a wrap is missed
// only when two readings lie more than 49.7 days apart. Not safe for threads by itself.
class TTickWidener {
public:
    ULONGLONG Widen(DWORD ticks);

private:
    DWORD Last = 0;
    DWORD Wraps = 0;
};

// The widened count of the whole process, safe for threads.
ULONGLONG WINAPI WidenedTickCount();

// The import slot through which the static thread runtime calls GetTickCount64. Defining it
// here keeps the system's slot, and with it the import that Windows XP lacks, out of every
// program and library; the first call puts the system's function, or the widened count, in
// its place. (A direct call of GetTickCount64 from our own code would bring the system's slot
// back: the link then fails on the symbol defined twice.)
#if defined(__i386__)
#define QUELORA_TICKCOUNT64_SLOT "__imp__GetTickCount64@0"
#else
#define QUELORA_TICKCOUNT64_SLOT "__imp_GetTickCount64"
#endif
extern "C" ULONGLONG(WINAPI* TickCount64Slot)() __asm__(QUELORA_TICKCOUNT64_SLOT);
