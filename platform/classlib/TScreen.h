#pragma once
// The screen's size and the pointer's position, as the forms need them to place themselves.
#include <windows.h>

class TScreen {
public:
    int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
    int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
};

class TMouse {
public:
    POINT CursorPos() const
    {
        POINT p = {0, 0};
        GetCursorPos(&p);
        return p;
    }
};

extern TScreen* Screen;
extern TMouse* Mouse;
