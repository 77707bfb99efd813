// The tests delete and overwrite files for real: they run only inside the Wine sandbox,
// from its C: drive, with no drive that leads to the host.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstring>

static bool InSandbox()
{
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    DWORD drives = GetLogicalDrives();
    bool hostRoot = (drives & (1u << ('Z' - 'A'))) != 0;
    return !hostRoot && _strnicmp(exe, "C:\\Quelora\\", 11) == 0;
}

int main(int argc, char** argv)
{
    if (!InSandbox()) {
        std::fprintf(stderr, "refusing to run: not inside the test sandbox (scripts/sandbox)\n");
        return 97;
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
