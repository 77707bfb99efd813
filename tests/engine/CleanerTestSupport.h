#pragma once
// What a cleaner needs from a run, without the windows: option buttons in the container's
// lists, a progress reporter (its labels and gauge may stay unset), the cancel event, and
// the run log's lines to read back.
#include "CIndicatorClass.h"
#include "CPtrContainer.h"
#include "CRunOwner.h"
#include "MyGraphicLabel.h"
#include "MyRndRectBtn.h"
#include "TCGauge.h"
#include "TStringList.h"

#include <windows.h>

#include <gtest/gtest.h>

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

// An item of a group as the main window captions it.
struct Item {
    int Tag;
    std::string Caption;
};

// The log line of an item that ended, after the time of day.
std::string Line(const std::string& caption, const std::string& size, const std::string& end = "Done");
std::string Line(const Item& item, const std::string& size, const std::string& end = "Done");
// "[a][b]": lines joined so that a failed comparison shows where they differ.
std::string Joined(const std::vector<std::string>& lines);

const char ShellKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
void PutBinary(HKEY root, const std::string& key, const std::string& name, const std::string& data);
void PutString(HKEY root, const std::string& key, const std::string& name, const std::string& value);
bool HasKey(HKEY root, const std::string& key);

// A progress reporter bound to labels and a gauge that belong to no window, as the progress
// window binds its own: fixtures derive from it to read what a cleaner showed and logged.
class ReporterFixture : public ::testing::Test {
protected:
    ReporterFixture();
    std::unique_ptr<TMyGraphicLabel> Group, Section, Status, Size;
    std::unique_ptr<TCGauge> Gauge;
    CIndicatorClass Indicator;
};

// Files that a cleaner given a wrong folder would reach: the root of C:, the current folder
// and a tree below C:\qtest.
class Canaries {
public:
    Canaries();
    ~Canaries();
    // The canaries that are gone or changed, by name.
    std::string Gone() const;

private:
    std::vector<std::string> Files;
};

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
