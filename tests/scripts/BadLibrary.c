/* A library with each fault the binary check must report: a stdcall function exported without
   a .def file (so under its decorated name), a direct call of a function Windows XP lacks, a
   call of one the list of known functions does not name, a call of WaitForInputIdle imported
   from KERNEL32 (which does not export it), a delay-loaded import, and a header that declares
   Vista. */
#define _WIN32_WINNT 0x0600
#include <windows.h>

__declspec(dllimport) ULONG __stdcall LaterFunction(void);

__declspec(dllexport) ULONGLONG __stdcall StartMonitor(void)
{
    ULONG node = 0;
    GetNumaHighestNodeNumber(&node);
    return GetTickCount64() + node + WaitForInputIdle(GetCurrentProcess(), 0) + LaterFunction();
}
