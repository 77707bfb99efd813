#pragma once
// What a cleaner needs from a run, without the windows: option buttons in the container's
// lists, a progress reporter (its labels and gauge may stay unset), the cancel event, and
// the run log's lines to read back.
#include "CIndicatorClass.h"
#include "CPtrContainer.h"
#include "CRunOwner.h"
#include "MyRndRectBtn.h"
#include "TStringList.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace testing_support {

class Options {
public:
    Options();
    ~Options();
    // A button at the end of the list, as the item frames declare them.
    TMyRndRectBtn* Add(CPoorVector<TMyRndRectBtn*>& list, int tag, const std::string& caption, bool down,
                       const std::string& helpKeyword = std::string());
    CPtrContainer Container;

private:
    std::vector<TMyRndRectBtn*> Buttons;
};

// The run's "CancelEvent", as the progress window makes it.
class CancelEvent {
public:
    CancelEvent() : Handle(CreateEventA(nullptr, TRUE, FALSE, "CancelEvent")) {}
    ~CancelEvent() { CloseHandle(Handle); }
    void Set() { SetEvent(Handle); }
    HANDLE Handle;
};

// The browser's profile registry file: a row of NUL-terminated strings (names, keys,
// numbers as text, and each profile's folder in UTF-8).
std::string MozillaRegistry(const std::vector<std::string>& folders);

// What a run asks of the main window, written down.
class OwnerStandIn : public CRunOwner {
public:
    void LockPopupMenu(bool lock) override { Locked = lock; }
    void SetRunInProgress(bool running) override { Running = running; }
    bool Locked = false;
    bool Running = false;
};

// Pauses off, the run log emptied; the log's lines as the run left them.
void StartRun();
TStringList LogLines();
// The lines without their first eight characters (the time of day).
std::vector<std::string> LogEntries();

}  // namespace testing_support
