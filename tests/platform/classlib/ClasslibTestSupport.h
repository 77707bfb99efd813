#pragma once
// What the window library's tests share: waiting while messages are handled.
#include "TApplication.h"

#include <functional>

namespace testing_support {

// Handles messages until the condition holds or the time is up; true when it held.
inline bool PumpUntil(const std::function<bool()>& done, DWORD ms = 3000)
{
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > ms)
            return false;
        Application->ProcessMessages();
        Sleep(5);
    }
    return true;
}

}  // namespace testing_support
