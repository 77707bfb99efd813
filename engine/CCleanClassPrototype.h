#pragma once
// The base of every cleaner: the run's worker thread drives the cleaners through it alone.
// It holds the options and the progress reporter of the run, the cancel test, and the walk
// over a group's option items that hands each chosen one to the cleaner.
#include "CPtrContainer.h"

#include <functional>
#include <string>

class CHddClass;
class CIndicatorClass;
class CPtrContainer;
class TMyRndRectBtn;

class CCleanClassPrototype {
public:
    virtual ~CCleanClassPrototype() = default;

    // True once the run's Cancel was pressed: the named event "CancelEvent" is signalled.
    // Safe from any thread; false when no run's progress window exists.
    virtual bool IsCancelRequested();
    virtual void SetIndicator(CIndicatorClass* indicator) { Indicator = indicator; }
    virtual void SetOptions(CPtrContainer* options) { Options = options; }
    virtual void Clean() = 0;

protected:
    // The dispatch walk: shows the group title, then runs every item of the list that is
    // down with a Tag from 1 to maxTag, in list order, each begun as a section under its
    // caption; a cancel leaves the walk after the item in progress. With titleFirst the
    // title shows even when the run was cancelled before this group.
    void RunGroup(const std::string& title, const CPoorVector<TMyRndRectBtn*>& items, int maxTag,
                  bool titleFirst = false);
    // Runs the operation of one chosen item, selected by its Tag. An unknown Tag runs nothing.
    virtual void RunItem(TMyRndRectBtn* item) = 0;

    // The end of an operation over files: cancelled, or the last step and done.
    void EndSection();
    // The end of an operation over registry data or one file: cancelled or done.
    void EndClearing();
    // Reports the collected size, then wipes each collected path after showing its status,
    // one gauge step each. False when a cancel came in between (the rest is left).
    bool WipeCollected(CHddClass& hdd, const std::function<void(const std::string&)>& status);

    // Has the item in progress end as failed when the wiper must leave a file unwritten.
    void ReportUnwritten(CHddClass& hdd);

    int ProfileIndex = 0;
    std::string PathText;
    CPtrContainer* Options = nullptr;
    CIndicatorClass* Indicator = nullptr;
};
