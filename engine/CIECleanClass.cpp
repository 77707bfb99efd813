#include "CIECleanClass.h"

#include "CIndicatorClass.h"
#include "MyRndRectBtn.h"

CIECleanClass::CIECleanClass()
{
    // The keep list first: a cookie on it must be safe before anything else can happen.
    // A list that cannot be read must not stop the run from being built on the window
    // thread; the cookie item then refuses to run (see ClearCookies).
    try {
        LoadCookiesToKeep();
    } catch (...) {
    }
    Reg.reset(new TRegistry(HKEY_CURRENT_USER));
    ReportUnwritten(FHdd);
}

CIECleanClass::~CIECleanClass()
{
    Reg.reset();
}

void CIECleanClass::SetIndicator(CIndicatorClass* indicator)
{
    CCleanClassPrototype::SetIndicator(indicator);
    Certificates.SetIndicator(indicator);
}

void CIECleanClass::Clean()
{
    RunGroup("MS Internet Explorer", Options->IEItems, 99);
}

void CIECleanClass::RunItem(TMyRndRectBtn* item)
{
    switch (item->Tag) {
    case 1:
        // The three sub-option buttons reach the cache item only through its keyword.
        if (item->HelpKeyword == "TIEFAll")
            ClearCache(0);
        else if (item->HelpKeyword == "TIEFPages")
            ClearCache(1);
        else if (item->HelpKeyword == "TIEFGraph")
            ClearCache(2);
        break;
    case 2:
        ClearCookies(1);
        break;
    case 3:
        ClearHistory(1);
        break;
    case 4:
        ClearTypedUrls();
        break;
    case 5:
        ClearDownloadedPrograms();
        break;
    case 6:
        ScheduleIndexDatDeletion(0);
        break;
    case 7:
        Certificates.Clean();
        break;
    case 8:
        ClearIntelliForms();
        break;
    case 9:
        ClearProtectedStorage();
        break;
    case 10:
        ResetStartPage();
        break;
    case 11:
        RestoreUrlPrefixes();
        break;
    default:
        break;
    }
}
