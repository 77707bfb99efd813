#include "CCleanClassPrototype.h"

#include "CHddClass.h"
#include "CIndicatorClass.h"
#include "MyRndRectBtn.h"
#include "SysUtils.h"
#include "TM_Logger.h"

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

void CCleanClassPrototype::EndClearing()
{
    if (IsCancelRequested())
        Indicator->SectionCancelled();
    else
        Indicator->SectionDone();
}

bool CCleanClassPrototype::WipeCollected(CHddClass& hdd, const std::function<void(const std::string&)>& status)
{
    const TStringList& paths = hdd.CollectedPaths;
    Indicator->AddBytes(hdd.CollectedSize());
    Indicator->SetMax(paths.Count() + 1);
    for (int i = 0; i < paths.Count(); ++i) {
        status(paths[i]);
        hdd.WipeAndDelete(paths[i]);
        Indicator->Step();
        if (IsCancelRequested())
            return false;
    }
    return true;
}

void CCleanClassPrototype::ReportUnwritten(CHddClass& hdd)
{
    hdd.OnLeftUnwritten = [this](const std::string& path) {
        if (Indicator)
            Indicator->NoteFailure("Not overwritten: " + ExtractFileName(path));
    };
    hdd.OnRefused = [this](const std::string& path, const std::string& why) {
        if (Indicator)
            Indicator->NoteFailure("Not overwritten: " + ExtractFileName(path));
        TM_Logger::Instance()->AddEntry("Not overwritten: " + path.substr(0, 300), why, " ");
    };
}
