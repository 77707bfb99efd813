// Cleaning runs: the Clean command, the wipe modes, the clock and last-run label, and the
// countdown of timed cleaning.
#include "COptRWClass.h"
#include "MainForm.h"
#include "ProgressIndicatorFm.h"
#include "TApplication.h"
#include "TMainThread.h"
#include "TM_Logger.h"
#include "TModalLoops.h"

#include <algorithm>
#include <cstdlib>

void TMainFm::MyGraphicBtn3Click(TObject*)
{
    // One run at a time: the tray's Clean Now stays open under the windows that lock
    // nothing, and a second run's end would free the first one's progress window.
    if (RunInProgress || FClosing)
        return;
    IndicatorFm = new TIndicatorFm(this, this);
    SetRunInProgress(true);
    // Centred on this window also when stealth mode keeps it hidden until later.
    IndicatorFm->PlaceFirstTime();
    IndicatorFm->SetVisible(WindowsShown);
    IndicatorFm->Update();
    TMainThread* run = nullptr;
    try {
        run = new TMainThread();
        // The Netscape cleaner takes its profile from the settings page's profile list; the
        // folder lets it see that the list still means the profile the user chose.
        int profile = -1;
        std::string folder;
        ChosenProfile(profile, folder);
        run->SetChosenProfile(profile, folder);
        run->SetOptions(&Container);
        {
            TM_LocalizeClass languages;
            languages.LocalizeIndicator(IndicatorFm->Indicator.Words, SettingsFrame->ComboBox3->ItemIndex());
        }
        run->SetIndicator(&IndicatorFm->Indicator);
        run->SetWipeCount(PassCount);
    } catch (const std::exception& e) {
        delete run;   // never resumed
        RunNotStarted(e);
        return;
    }
    // The tray's run items are locked before the worker can end the run and unlock them.
    LockPopupMenu(true);
    run->Resume();
    MyGraphicLabel4->SetCaption(LastRunText(MyGraphicLabel2->Caption()));
    // This run is the clean a timed run waiting for a dialog asked for.
    MinutesSinceClean = 0;
    TimedRunPending = false;
}

void TMainFm::RunNotStarted(const std::exception& e)
{
    // No worker will ever end this run: its window goes now, and the run log says why
    // nothing was cleaned (a keep list that cannot be read must not be taken for empty).
    IndicatorFm->Free();
    IndicatorFm = nullptr;
    TM_Logger* log = TM_Logger::Instance();
    log->Clear();
    log->AddLine(std::string("Error: the run did not start: ") + e.what());
    SetRunInProgress(false);
    Application->ShowException(e);
}

void TMainFm::SetRunInProgress(bool running)
{
    RunInProgress = running;
    UpdateEnabled();
}

void TMainFm::UpdateEnabled()
{
    SetEnabled(!RunInProgress && ModalLoops->Count() == 0);
}

void TMainFm::ModalLoopsChanged()
{
    UpdateEnabled();
    if (ModalLoops->Count() == 0 && TimedRunPending)
        PostMessageA(Handle(), WM_TIMEDRUN, 0, 0);
}

void TMainFm::StartPendingTimedRun()
{
    if (!TimedRunPending || FClosing || RunInProgress || ModalLoops->Count() > 0 || ModalLoops->CloseWaiting())
        return;
    // The window of the run that just ended is freed by a request queued behind this one.
    if (IndicatorFm) {
        PostMessageA(Handle(), WM_TIMEDRUN, 0, 0);
        return;
    }
    TimedRunPending = false;
    MyGraphicBtn3Click(this);
}

std::string TMainFm::LastRunText(const std::string& clock)
{
    if (clock.size() >= 5 && clock[4] == ':')
        return clock.substr(0, 4);
    return clock.substr(0, 5);
}

void TMainFm::LockPopupMenu(bool lock)
{
    // A keep-list window closing during a run leaves the run's lock in place.
    FMenuLocks = lock ? FMenuLocks + 1 : std::max(FMenuLocks - 1, 0);
    for (TMenuItem* item : {N19, HideShow1, PopUpAction})
        item->SetEnabled(FMenuLocks == 0);
}

void TMainFm::WipeModeClick(TMyGraphicBtn* chosen, int passes)
{
    PassCount = passes;
    try {
        Options->WriteWipeCount(&PassCount);
    } catch (const std::exception& e) {
        TM_Logger::Instance()->AddLine(std::string("Error: ") + e.what());
    }
    for (TMyGraphicBtn* b : {MyGraphicBtn4, MyGraphicBtn5, MyGraphicBtn8})
        if (b != chosen)
            b->SetDown(false);
}

void TMainFm::MyGraphicBtn4Click(TObject*)
{
    WipeModeClick(MyGraphicBtn4, 0);
}

void TMainFm::MyGraphicBtn5Click(TObject*)
{
    WipeModeClick(MyGraphicBtn5, 1);
}

void TMainFm::MyGraphicBtn8Click(TObject*)
{
    WipeModeClick(MyGraphicBtn8, 5);
}

void TMainFm::CheckWipeModeButtons()
{
    static const int passes[] = {0, 1, 5};
    TMyGraphicBtn* modes[] = {MyGraphicBtn4, MyGraphicBtn5, MyGraphicBtn8};
    int down = 0;
    for (int i = 0; i < 3; ++i)
        if (modes[i]->Down()) {
            PassCount = passes[i];
            ++down;
        }
    if (down == 1)
        return;
    PassCount = 0;
    MyGraphicBtn4->SetDown(true);
    MyGraphicBtn5->SetDown(false);
    MyGraphicBtn8->SetDown(false);
}

void TMainFm::TimeTimerTimer(TObject*)
{
    char text[64] = {};
    GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, text, sizeof text);
    MyGraphicLabel2->SetCaption(text);
}

bool TMainFm::CountdownText(const std::string& item, int minutes, std::string& text, int& interval)
{
    if (item.size() <= 4)
        return false;
    std::string digits = item.substr(0, item.size() - 4);
    char* end = nullptr;
    long n = std::strtol(digits.c_str(), &end, 10);
    if (digits.empty() || *end != '\0' || n <= 0)
        return false;
    interval = static_cast<int>(n);
    text = (digits.size() <= 2 ? " " : "") + std::to_string(interval - minutes) + " min";
    return true;
}

void TMainFm::CleanTimerTimer(TObject*)
{
    // A tick with no interval chosen has nothing to count down to.
    std::string item = SettingsFrame->ComboBox1->Text();
    std::string text;
    int interval = 0;
    if (!CountdownText(item, MinutesSinceClean + 1, text, interval))
        return;
    ++MinutesSinceClean;
    MyGraphicLabel5->SetCaption(text);
    // Due or overdue: a count that went past the interval (a shorter interval chosen
    // meanwhile) must not wait for a zero it never reaches.
    if (MinutesSinceClean >= interval) {
        // Due during a run, it starts nothing: the going run is the clean it asks for. A
        // run started under an open dialog would be beside the dialog's own work, and
        // under a message box (the last timed run's failure among them) it would open a
        // box inside it: it waits for them.
        if (!RunInProgress && ModalLoops->Count() > 0)
            TimedRunPending = true;
        else if (!RunInProgress && !IntroShowing)
            MyGraphicBtn3Click(this);
        MinutesSinceClean = 0;
        MyGraphicLabel5->SetCaption(item);
    }
}

void TMainFm::SettingsFrameMyRndRectBtn5Click(TObject*)
{
    SettingsFrame->UpdateIntervalCombo();
    if (SettingsFrame->MyRndRectBtn5->Down()) {
        MinutesSinceClean = 0;
        CleanTimer->SetEnabled(false);
        CleanTimer->SetEnabled(true);
        MyGraphicLabel5->SetCaption(SettingsFrame->ComboBox1->Text());
    } else {
        CleanTimer->SetEnabled(false);
        TimedRunPending = false;
        MyGraphicLabel5->SetCaption("  N/A");
    }
}

void TMainFm::SettingsFrameComboBox1CloseUp(TObject*)
{
    SetActiveControl(nullptr);
    SettingsFrameMyRndRectBtn5Click(this);
}
