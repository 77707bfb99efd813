#include "Fennick.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return RunFennick(GetCommandLineA());
}
