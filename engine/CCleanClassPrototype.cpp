#include "CCleanClassPrototype.h"

#include "CHddClass.h"
#include "CIndicatorClass.h"
#include "MyRndRectBtn.h"

#include <windows.h>

bool CCleanClassPrototype::IsCancelRequested()
{
    HANDLE event = OpenEventA(EVENT_ALL_ACCESS, FALSE, "CancelEvent");
    if (!event)
        return false;
    bool set = WaitForSingleObject(event, 0) == WAIT_OBJECT_0;
    CloseHandle(event);
    return set;
}

void CCleanClassPrototype::RunGroup(const std::string& title, const CPoorVector<TMyRndRectBtn*>& items, int maxTag,
                                    bool titleFirst)
{
    if (titleFirst)
        Indicator->SetGroupTitle(title);
    if (IsCancelRequested())
        return;
    if (!titleFirst)
        Indicator->SetGroupTitle(title);
    for (int i = 0; i < items.Count; ++i) {
        TMyRndRectBtn* item = items[i];
        if (!item->Down() || item->Tag <= 0 || item->Tag > maxTag)
            continue;
        Indicator->BeginSection(item->Caption());
        RunItem(item);
        if (IsCancelRequested())
            return;
    }
}

void CCleanClassPrototype::EndSection()
{
    if (IsCancelRequested()) {
        Indicator->SectionCancelled();
    } else {
        Indicator->Step();
        Indicator->SectionDone();
    }
}

void CCleanClassPrototype::WipeCollected(CHddClass& hdd)
{
    Indicator->AddBytes(hdd.CollectedSize());
    Indicator->SetMax(hdd.CollectedPaths.Count() + 1);
    for (int i = 0; i < hdd.CollectedPaths.Count() && !IsCancelRequested(); ++i) {
        Indicator->StatusWiping(hdd.CollectedPaths[i]);
        hdd.WipeAndDelete(hdd.CollectedPaths[i]);
        Indicator->Step();
    }
    EndSection();
}
