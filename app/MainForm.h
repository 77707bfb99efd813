#pragma once
// Quelmain's one main window: the item groups and the settings page, the wipe modes, the
// Clean button, the clock and the countdown of timed cleaning, the tray icon with its menu
// and the two system-wide hot keys. Its option container is what a cleaning run reads and
// what the settings store keeps.
#include "CPtrContainer.h"
#include "CRunOwner.h"
#include "MyGraphicBtn.h"
#include "MyGraphicLabel.h"
#include "StretchScroll.h"
#include "TForm.h"
#include "THintWindow.h"
#include "TGroupFrame.h"
#include "TImage.h"
#include "TImageList.h"
#include "TM_LocalizeClass.h"
#include "TPopupMenu.h"
#include "TSettingsFrame.h"
#include "TTMainFrame.h"
#include "TTimer.h"
#include "TTrayIcon.h"

#include <stdexcept>
#include <string>
#include <vector>

class TRegistry;

class COptRWClass;

// Posted to the main window when a timed run that waited may start.
const UINT WM_TIMEDRUN = WM_APP + 407;
// Posted to the main window to put its enabled state back as its state asks.
const UINT WM_UPDATEENABLED = WM_APP + 408;

class TMainFm : public TForm, public CRunOwner, public CFrameHost {
public:
    explicit TMainFm(TComponent* owner);
    ~TMainFm() override;

    // Components, as the window is made of them.
    TImage* Image1;
    TTMainFrame* MainFrame;
    TIETFrame* IETFrame1;
    TWinTFrame* WinTFrame1;
    TNetTFrame* NetTFrame1;
    TSettingsFrame* SettingsFrame;
    TStretchScroll* StretchScroll1;
    TMyGraphicBtn* MyGraphicBtn1;   // Help
    TMyGraphicBtn* MyGraphicBtn3;   // Clean
    TMyGraphicBtn* MyGraphicBtn4;   // fastest
    TMyGraphicBtn* MyGraphicBtn5;   // medium
    TMyGraphicBtn* MyGraphicBtn8;   // slowest
    TMyGraphicBtn* MyGraphicBtn6;   // Close
    TMyGraphicBtn* MyGraphicBtn7;   // Minimize
    TMyGraphicBtn* WhatClBtn;
    TMyGraphicBtn* OptBtn;
    TMyGraphicLabel* MyGraphicLabel1;   // hint line
    TMyGraphicLabel* MyGraphicLabel2;   // clock, never shown
    TMyGraphicLabel* MyGraphicLabel3;   // current group
    TMyGraphicLabel* MyGraphicLabel4;   // last run
    TMyGraphicLabel* MyGraphicLabel5;   // countdown
    TImageList* PopUpMenuImageList16x16;
    TTrayIcon* TrayIcon1;
    TPopupMenu* PopupMenu1;
    TMenuItem* N19;
    TMenuItem* N2;
    TMenuItem* InvisibleModeALTZ1;
    TMenuItem* HideShow1;
    TMenuItem* PopUpAction;
    TMenuItem* N15;
    TMenuItem* N5;
    TMenuItem* AboutVelmar1;
    TMenuItem* N1;
    TMenuItem* N7;
    TTimer* TimeTimer;
    TTimer* CleanTimer;
    TTimer* PopUpHintTimer;

    // ---- State -------------------------------------------------------------------------
    int PassCount = 0;
    int MinutesSinceClean = 0;
    TM_MainFmDoubleWordsStruct MainFmWords;
    UINT IdOnlyOne = 0;
    UINT IdPopupBlocked = 0;
    UINT IdCtrlKeyUp = 0;
    UINT IdCtrlKeyDown = 0;
    UINT IdChangeState = 0;
    bool Dragging = false;
    bool WindowsShown = true;
    bool CleanOnStartPending = true;
    bool FirstShow = true;
    bool IntroShowing = false;
    bool RunInProgress = false;
    int FramesHeight = 0;
    int DragDX = 0;
    int DragDY = 0;
    COptRWClass* Options = nullptr;
    CPtrContainer Container;
    // The profile folders in the order of the profile list, for the run's profile choice.
    std::vector<std::string> ProfileFolders;

    // ---- Life --------------------------------------------------------------------------
    void FormCreate(TObject* sender);
    void FormShow(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);
    void FormDestroy(TObject* sender);
    // What a close does before the window goes, also when the session ends: the run
    // cancelled and waited for, no timed run waiting any more.
    void EndRun();
    // What a close leaves behind it, once: the settings saved (with "Save on exit"), the run
    // log written, the blocker stopped, the context menu and the hot keys unregistered.
    void LeaveBehind();
    // The session ends: the process is ended once this returns.
    void SessionEnded();
    bool AppMessageHook(TMessage& message);
    void Dispatch(TMessage& message) override;
    void SettingsFrameComboBox3CloseUp(TObject* sender);

    // ---- Item groups ---------------------------------------------------------------------
    void BuildItemContainer();
    static void GatherFrameItems(CPtrContainer& container, TFrame* frame, int group);
    void StackFrames() override;
    void UpdateScrollRange() override;
    void SetGroupLabel(const std::string& text) override;
    void StretchScroll1Changed(TObject* sender);
    void Define3St(TObject* sender);
    void IETFrame1MyRndRectBtnClick(TObject* sender);
    void WinTFrame1MyRndRectBtnClick(TObject* sender);
    void NetTFrame1MyRndRectBtnClick(TObject* sender);
    void IETFrame1MyRndRectBtn1Click(TObject* sender);
    void IETFrame1SubOptionClick(TObject* sender);
    void UpdateSubOptions();
    void InitItemPages();
    void ShapeMainWindow();

    // ---- Runs ----------------------------------------------------------------------------
    void MyGraphicBtn3Click(TObject* sender);
    void LockPopupMenu(bool lock) override;
    void SetRunInProgress(bool running) override;
    // Enabled while no run goes and no modal window or message box of the program is open,
    // whatever ends first: the one place that gives the window back.
    void UpdateEnabled();
    // A modal loop began or ended.
    void ModalLoopsChanged();
    // A timed run that came due while a modal window or message box was open: it starts
    // once they are over, unless a run started meanwhile.
    bool TimedRunPending = false;
    void StartPendingTimedRun();
    void MyGraphicBtn4Click(TObject* sender);
    void MyGraphicBtn5Click(TObject* sender);
    void MyGraphicBtn8Click(TObject* sender);
    void CheckWipeModeButtons();
    void TimeTimerTimer(TObject* sender);
    void CleanTimerTimer(TObject* sender);
    void SettingsFrameMyRndRectBtn5Click(TObject* sender);
    void SettingsFrameComboBox1CloseUp(TObject* sender);
    // "9:05" from "9:05:33", "10:05" from "10:05:33".
    static std::string LastRunText(const std::string& clock);
    // The countdown label for an interval item ("10 min") after `minutes`; false when the
    // item names no interval.
    static bool CountdownText(const std::string& item, int minutes, std::string& text, int& interval);

    // ---- Tray, keys, window ----------------------------------------------------------------
    void N5Click(TObject* sender);
    void TrayIcon1Restore(TObject* sender);
    void TrayIcon1Click(TObject* sender);
    void ApplyStartMinimized();
    void OnHotKey(TMessage& message);
    void HideShow1Click(TObject* sender);
    void InvisibleModeALTZ1Click(TObject* sender);
    static BOOL CALLBACK ShowHideIEWindowProc(HWND wnd, LPARAM hide);
    void Image1MouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void Image1MouseMove(TObject* sender, TShiftState shift, int x, int y);
    void Image1MouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    // Where a dropped window of that size at (left, top) is put back on a screen.
    static POINT ClampToScreen(int left, int top, int width, int height, int screenWidth, int screenHeight);
    void ShowHintOnMouseEnter(TObject* sender);
    void ShowHintOnMouseLeave(TObject* sender);
    void SettingsFrameMyRndRectBtn9Click(TObject* sender);
    void OptBtnClick(TObject* sender);
    void WhatClBtnClick(TObject* sender);
    void FormMouseWheelDown(TObject* sender, TShiftState shift, POINT mousePos, bool& handled);
    void FormMouseWheelUp(TObject* sender, TShiftState shift, POINT mousePos, bool& handled);
    void MyGraphicBtn1Click(TObject* sender);
    void FillLanguageCombo();
    void FillProfileCombo();
    // The name a profile list shows for a profile folder: the name of its parent folder.
    static std::string ProfileName(const std::string& path);
    void LoadSettings();

    // ---- Filled by later work ----------------------------------------------------------------
    void RunFirstStartSetup();
    void RegisterContextMenuExt();
    void UnregisterContextMenuExt();
    void ShowIntroWindow();
    void PopUpActionClick(TObject* sender);
    void ShowPopupBlockedBalloon();
    void PausePopupBlocker(bool pause);
    void AboutVelmar1Click(TObject* sender);
    void IETFrame1MyGraphicBtn2Click(TObject* sender);
    void NetTFrame1MyGraphicBtn2Click(TObject* sender);
    void IETFrame1MyGraphicBtn3Click(TObject* sender);
    void SettingsFrameMyRndRectBtn11Click(TObject* sender);
    void SettingsFrameMyRndRectBtn10Click(TObject* sender);
    // The settings page's profile choice as an index into the profile list, with the folder
    // that stood there when the list was filled; -1 and no folder without a choice.
    void ChosenProfile(int& index, std::string& folder);
    // The cookie window of a browser (0 Internet Explorer, 1 Netscape 6 / Mozilla), with the
    // tray's run items locked while it is open, whatever way it ends.
    void OpenCookiesWindow(unsigned char kind);
    // What the intro window does as it closes: the clean on start that waited for it.
    void IntroClosed(TObject* intro);
    // Whether the closing intro starts the run: "Clean on start" down, the logo still
    // wanted, no run going.
    static bool CleanWhenIntroCloses(bool cleanOnStart, bool noLogo, bool running);

    // The first-start setup's steps (MainFormSetup.cpp), on SetupRegistry while it runs.
    bool IsSetupVersionCurrent();
    void WriteSetupVersion();
    void WriteInstallationPath();
    void WriteContextMenuHandlerKeys();
    TRegistry* SetupRegistry = nullptr;

    // ---- Popup blocker ----------------------------------------------------------------------
    HMODULE BrevikLib = nullptr;
    HMODULE TarvixLib = nullptr;
    int(__cdecl* pSetLogFile)(const char* path) = nullptr;
    int(__cdecl* pStartMonitor)() = nullptr;
    int(__cdecl* pStopMonitor)() = nullptr;
    int(__cdecl* pPauseMonitor)(int pause) = nullptr;
    int(__cdecl* pInstallCtrlHook)(HWND window) = nullptr;
    void(__cdecl* pRemoveCtrlHook)() = nullptr;
    THintWindow* BlockedHint = nullptr;
    bool SetCtrlHook(bool install);
    void FreeBrevikLib();
    void PopUpHintTimerTimer(TObject* sender);
    void DestroyBlockedHint();
    // Where the balloon of that size goes: the work area's bottom-right corner.
    static RECT BalloonBounds(const RECT& workArea, int width, int height);

private:
    TMyGraphicBtn* MakeButton(const char* name, TImageList* list, ssStyle style, int off, int on,
                              const MainLayout::Rect& r, const char* hint);
    TMyGraphicLabel* MakeLabel(const char* name, const MainLayout::Rect& r, TColor text, const char* caption);
    TMenuItem* MakeMenuItem(const char* name, const char* caption, int image, TNotifyEvent click);
    void WipeModeClick(TMyGraphicBtn* chosen, int passes);
    void HookHints(TControl* control);
    // A run that cannot start says why and gives every window back as it was.
    void RunNotStarted(const std::exception& e);
    int FHook = 0;
    bool FClosing = false;
    bool FLeftBehind = false;
    // The run and the keep-list windows each lock the tray's run items once.
    int FMenuLocks = 0;
};

extern TMainFm* MainFm;
