#include <gtest/gtest.h>

#include "TickCount64.h"

// On Windows XP the thread runtime's timed waits measure with the widened count: it must go
// on past each wrap of the 32-bit count instead of falling back 49.7 days.
TEST(TickCount64Test, WidenedCountGoesOnPastEachWrap)
{
    const struct {
        DWORD reading;
        ULONGLONG widened;
    } steps[] = {{0xFFFFFF00u, 0xFFFFFF00ull}, {0xFFFFFF00u, 0xFFFFFF00ull}, {0x10u, 0x100000010ull},
                 {0x20u, 0x100000020ull},      {0xFFFFFFFFu, 0x1FFFFFFFFull}, {0u, 0x200000000ull}};
    TTickWidener ticks;
    for (const auto& step : steps) {
        ULONGLONG got = ticks.Widen(step.reading);
        EXPECT_EQ(step.widened, got) << std::hex << "reading 0x" << step.reading << " gave 0x" << got;
    }
}

// Where the system has GetTickCount64 (Wine does), the first call through the runtime's slot
// puts the system's function there, and the count it gave agrees with GetTickCount.
TEST(TickCount64Test, SlotTakesTheSystemsFunctionOnFirstCall)
{
    auto system = reinterpret_cast<ULONGLONG(WINAPI*)()>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetTickCount64")));
    ASSERT_NE(nullptr, system) << "this system has no GetTickCount64";
    ULONGLONG before = GetTickCount();
    ULONGLONG got = TickCount64Slot();
    ULONGLONG after = GetTickCount();
    EXPECT_TRUE(TickCount64Slot == system) << "the slot still holds " << reinterpret_cast<void*>(TickCount64Slot);
    EXPECT_LE(before, got & 0xFFFFFFFFull) << "count 0x" << std::hex << got << ", GetTickCount before 0x" << before;
    EXPECT_LE(got & 0xFFFFFFFFull, after) << "count 0x" << std::hex << got << ", GetTickCount after 0x" << after;
}
