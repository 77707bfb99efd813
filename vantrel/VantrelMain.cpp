#include "ProgressIndicatorForm.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return RunVantrel();
}
