// The main window's secondary windows: the cookie keep lists, the report of the last run,
// the certificates, About, and the intro logo with the clean on start that waits for it.
#include "AboutForm.h"
#include "CookiesForm.h"
#include "IECertificateForm.h"
#include "IntroForm.h"
#include "MainForm.h"
#include "ReportForm.h"
#include "TApplication.h"
#include "TModalLoops.h"

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
        Application->ShowException(e, Handle());
        return;
    }
    LockPopupMenu(false);
}

void TMainFm::IETFrame1MyGraphicBtn3Click(TObject*)
{
    IETFrame1->MyRndRectBtn12Click(this);
    LockPopupMenu(true);
    try {
        IECertFm = NewForm<TIECertFm>(this);
        IECertFm->ShowModal();
    } catch (const std::exception& e) {
        LockPopupMenu(false);
        Application->ShowException(e, Handle());
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


void TMainFm::SettingsFrameMyRndRectBtn11Click(TObject*)
{
    // A log that cannot be read opens no window, but says so.
    try {
        ReportFm = NewForm<TReportFm>(this);
    } catch (const std::exception& e) {
        Application->ShowException(e, Handle());
        return;
    }
    ReportFm->SetBounds(Left() + (Width() - ReportFm->Width()) / 2, Top() + 95, ReportFm->Width(), ReportFm->Height());
    ReportFm->ShowModal();
}

void TMainFm::AboutVelmar1Click(TObject*)
{
    // A second About from the tray opens over the first: each is a loop of its own.
    auto* about = NewForm<TAboutFm>(this);
    AboutFm = about;
    about->ShowModal();
}

void TMainFm::ShowIntroWindow()
{
    if (SettingsFrame->MyRndRectBtn7->Down())
        return;
    IntroFm = NewForm<TIntroFm>(this);
    IntroShowing = true;
    IntroFm->Show();
    // On the screen now, while the rest of the construction goes on.
    IntroFm->Update();
}

bool TMainFm::CleanWhenIntroCloses(bool cleanOnStart, bool noLogo, bool running)
{
    return cleanOnStart && !noLogo && !running;
}

void TMainFm::IntroClosed(TObject* intro)
{
    // Read now: a change made on the settings page while the logo showed counts.
    if (CleanWhenIntroCloses(SettingsFrame->MyRndRectBtn4->Down(), SettingsFrame->MyRndRectBtn7->Down(), RunInProgress))
        MyGraphicBtn3Click(intro);
    CleanOnStartPending = false;
    IntroShowing = false;
}
