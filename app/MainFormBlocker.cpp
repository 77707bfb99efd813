// The main window's control of the popup blocker: the library Brevik switched on and off
// from the tray, paused while a Ctrl key is held (through Tarvix), and the balloon that
// tells of each blocked window.
#include "Dialogs.h"
#include "MainForm.h"
#include "MainLayout.h"
#include "SysUtils.h"
#include "TApplication.h"
#include "THintWindow.h"

using namespace MainLayout;

namespace {

const char* const BlockedText = "PopUp Window has been blocked";
const TColor BalloonColor = RGB(255, 255, 212);

// Both libraries come from the program's own folder only: a plain name would follow the
// system's search order, and a "Brevik.dll" planted in the current folder or on PATH would
// run inside the program.
HMODULE LoadBesideProgram(const char* name)
{
    return LoadLibraryA((ExtractFilePath(Application->ExeName()) + name).c_str());
}

template <class T>
void Resolve(HMODULE module, T& entry, const char* name)
{
    entry = reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

std::string SystemErrorText(DWORD code)
{
    char* text = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string result = text ? text : "";
    LocalFree(text);
    return result;
}

}  // namespace

void TMainFm::PopUpActionClick(TObject*)
{
    std::string log = ExtractFilePath(Application->ExeName()) + "PopUp.log";
    if (!BrevikLib) {
        BrevikLib = LoadBesideProgram("Brevik.dll");
        if (BrevikLib) {
            Resolve(BrevikLib, pSetLogFile, "SetLogFile");
            Resolve(BrevikLib, pStartMonitor, "StartMonitor");
            Resolve(BrevikLib, pStopMonitor, "StopMonitor");
            Resolve(BrevikLib, pPauseMonitor, "PauseMonitor");
        }
    }
    if (!BrevikLib) {
        ShowMessage(SystemErrorText(GetLastError()), Handle());
        return;
    }
    if (PopUpAction->Tag == 0) {
        // A start that fails changes nothing and keeps the library for the next try.
        if (pSetLogFile && pSetLogFile(log.c_str()) && pStartMonitor && pStartMonitor()) {
            PopUpAction->Tag = 1;
            PopUpAction->SetImageIndex(BlockerOnImage);
            TrayIcon1->SetIconIndex(TrayBlockerImage);
            PopUpAction->SetCaption(MainFmWords.DeactivateBrevikerWD);
            SetCtrlHook(true);
        }
    } else if (pStopMonitor && pStopMonitor()) {
        PopUpAction->Tag = 0;
        PopUpAction->SetImageIndex(BlockerOffImage);
        TrayIcon1->SetIconIndex(TrayNormalImage);
        PopUpAction->SetCaption(MainFmWords.ActivateBrevikerWD);
        SetCtrlHook(false);
        FreeBrevikLib();
    }
}

// Without Tarvix the blocker works all the same, only without pausing.
bool TMainFm::SetCtrlHook(bool install)
{
    if (!TarvixLib)
        TarvixLib = LoadBesideProgram("Tarvix.dll");
    if (!TarvixLib)
        return true;
    if (install) {
        Resolve(TarvixLib, pInstallCtrlHook, "InstallCtrlHook");
        if (pInstallCtrlHook)
            pInstallCtrlHook(Application->Handle());
    } else {
        Resolve(TarvixLib, pRemoveCtrlHook, "RemoveCtrlHook");
        if (pRemoveCtrlHook)
            pRemoveCtrlHook();
        FreeLibrary(TarvixLib);
        TarvixLib = nullptr;
        pInstallCtrlHook = nullptr;
        pRemoveCtrlHook = nullptr;
    }
    return true;
}

// The Ctrl hook serves only the blocker: it goes with the library, also when the blocker
// could not be stopped (the window closing, the shell gone).
void TMainFm::FreeBrevikLib()
{
    if (TarvixLib)
        SetCtrlHook(false);
    if (BrevikLib)
        FreeLibrary(BrevikLib);
    BrevikLib = nullptr;
    pSetLogFile = nullptr;
    pStartMonitor = nullptr;
    pStopMonitor = nullptr;
    pPauseMonitor = nullptr;
}

void TMainFm::PausePopupBlocker(bool pause)
{
    if (!BrevikLib || PopUpAction->Tag != 1 || !pPauseMonitor)
        return;
    if (pPauseMonitor(pause ? 1 : 0))
        TrayIcon1->SetIconIndex(pause ? TrayPausedImage : TrayBlockerImage);
}

// The toggle runs after the tray icon's own mouse handling has returned.
void TMainFm::TrayIcon1Click(TObject*)
{
    PostMessageA(Application->Handle(), IdChangeState, 0, 0);
}

RECT TMainFm::BalloonBounds(const RECT& workArea, int width, int height)
{
    return {workArea.right - width, workArea.bottom - height, workArea.right, workArea.bottom};
}

void TMainFm::ShowPopupBlockedBalloon()
{
    if (BlockedHint)
        return;
    BlockedHint = new THintWindow(this);
    BlockedHint->Color = BalloonColor;
    BlockedHint->Canvas.Brush.Color = BalloonColor;
    BlockedHint->Canvas.Font.Name = "Tahoma";
    BlockedHint->Canvas.Font.SetSize(9);
    BlockedHint->Canvas.Font.Style = fsBold;
    RECT size = BlockedHint->CalcHintRect(BlockedText);
    // At the work area's own right and bottom edges, wherever the taskbar leaves it.
    RECT workArea;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    BlockedHint->ActivateHint(BalloonBounds(workArea, size.right - size.left, size.bottom - size.top), BlockedText);
    PopUpHintTimer->SetEnabled(true);
}

void TMainFm::PopUpHintTimerTimer(TObject*)
{
    PopUpHintTimer->SetEnabled(false);
    DestroyBlockedHint();
}

void TMainFm::DestroyBlockedHint()
{
    if (BlockedHint)
        BlockedHint->Free();
    BlockedHint = nullptr;
}
