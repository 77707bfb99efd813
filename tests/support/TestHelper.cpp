// A second program for the tests: it holds a file open as another program would, and it
// reports what a freshly started program sees of the shell folders and the system version.
#include "CShellFoldersContainer.h"
#include "SystemVersion.h"
#include "TStringList.h"
#include "SysUtils.h"

#include <windows.h>

#include <cstring>

int main(int argc, char** argv)
{
    if (argc == 5 && std::strcmp(argv[1], "hold") == 0) {
        HANDLE f = CreateFileA(argv[2], GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (f == INVALID_HANDLE_VALUE)
            return 2;
        HANDLE ready = OpenEventA(EVENT_ALL_ACCESS, FALSE, argv[3]);
        HANDLE quit = OpenEventA(EVENT_ALL_ACCESS, FALSE, argv[4]);
        if (!ready || !quit)
            return 3;
        SetEvent(ready);
        WaitForSingleObject(quit, 60000);
        CloseHandle(f);
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "folders") == 0) {
        CShellFoldersContainer folders;
        TStringList out;
        for (int i = 0; i < CShellFoldersContainer::Count; ++i)
            out.Add(IntToStr(i) + "=" + folders[i]);
        out.Add(std::string("NT4=") + (IsWinNT4OrOlder() ? "1" : "0"));
        out.Add(std::string("W2K=") + (IsWin2000OrLater() ? "1" : "0"));
        out.SaveToFile(argv[2]);
        return 0;
    }
    return 1;
}
