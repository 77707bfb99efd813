#pragma once
// Tell the NT family's versions apart. Both are false on Windows 9x.
bool IsWinNT4OrOlder();
bool IsWin2000OrLater();

// The platform identifier from the basic version structure (VER_PLATFORM_WIN32_WINDOWS
// for Windows 9x, VER_PLATFORM_WIN32_NT), 0 when the system does not say.
unsigned long SystemPlatformId();
