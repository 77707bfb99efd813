// The main window's secondary windows: the cookie keep lists, the report of the last run,
// the certificates, About, and the intro logo with the clean on start that waits for it.
#include "CookiesForm.h"
#include "MainForm.h"
#include "ReportForm.h"
#include "TApplication.h"

void TMainFm::OpenCookiesWindow(unsigned char kind)
{
    LockPopupMenu(true);
    // The tray's run items come back on every way out: a keep list that cannot be read
    // ends the opening with its message instead of leaving them locked for good.
    try {
        CookiesFm = NewForm<TCookiesFm>(this);
        try {
            CookiesFm->SetBrowser(kind);
        } catch (...) {
            CookiesFm->Free();
            throw;
        }
        if (kind == 1)
            NetTFrame1->MyRndRectBtn6Click(this);
        else
            IETFrame1->MyRndRectBtn12Click(this);
        CookiesFm->ShowModal();
    } catch (const std::exception& e) {
        LockPopupMenu(false);
        Application->ShowException(e);
        return;
    }
    LockPopupMenu(false);
}

void TMainFm::IETFrame1MyGraphicBtn2Click(TObject*)
{
    OpenCookiesWindow(0);
}

void TMainFm::NetTFrame1MyGraphicBtn2Click(TObject*)
{
    OpenCookiesWindow(1);
}

// Filled below as the windows come.
void TMainFm::AboutVelmar1Click(TObject*) {}
void TMainFm::IETFrame1MyGraphicBtn3Click(TObject*)
{
    IETFrame1->MyRndRectBtn12Click(this);
}
void TMainFm::ShowIntroWindow() {}
void TMainFm::IntroClosed(TObject*) {}
bool TMainFm::CleanWhenIntroCloses(bool cleanOnStart, bool noLogo, bool running)
{
    return cleanOnStart && !noLogo && !running;
}

void TMainFm::SettingsFrameMyRndRectBtn11Click(TObject*)
{
    // A log that cannot be read opens no window, but says so.
    try {
        ReportFm = NewForm<TReportFm>(this);
    } catch (const std::exception& e) {
        Application->ShowException(e);
        return;
    }
    ReportFm->SetBounds(Left() + (Width() - ReportFm->Width()) / 2, Top() + 95, ReportFm->Width(), ReportFm->Height());
    ReportFm->ShowModal();
}
