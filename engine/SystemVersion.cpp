#include "SystemVersion.h"

#include <windows.h>

#include <cstring>

// The extended structure first, the basic one where the system does not know it.
static bool QueryVersion(OSVERSIONINFOA& vi)
{
    OSVERSIONINFOEXA ex = {};
    ex.dwOSVersionInfoSize = sizeof ex;
    if (GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&ex))) {
        std::memcpy(&vi, &ex, sizeof vi);
        vi.dwOSVersionInfoSize = sizeof vi;
        return true;
    }
    vi = {};
    vi.dwOSVersionInfoSize = sizeof vi;
    return GetVersionExA(&vi) != 0;
}

bool IsWinNT4OrOlder()
{
    OSVERSIONINFOA vi;
    return QueryVersion(vi) && vi.dwPlatformId == VER_PLATFORM_WIN32_NT && vi.dwMajorVersion < 5;
}

bool IsWin2000OrLater()
{
    OSVERSIONINFOA vi;
    return QueryVersion(vi) && vi.dwPlatformId == VER_PLATFORM_WIN32_NT && vi.dwMajorVersion >= 5;
}

unsigned long SystemPlatformId()
{
    OSVERSIONINFOA vi = {};
    vi.dwOSVersionInfoSize = sizeof vi;
    return GetVersionExA(&vi) ? vi.dwPlatformId : 0;
}
