#include "SandboxGuard.h"

#include <windows.h>

#include <cstring>

bool InSandbox()
{
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    bool hostRoot = (GetLogicalDrives() & (1u << ('Z' - 'A'))) != 0;
    return !hostRoot && _strnicmp(exe, "C:\\Quelora\\", 11) == 0;
}
