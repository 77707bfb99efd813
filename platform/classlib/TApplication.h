#pragma once
// The program as a whole: its executable's path and title, the COM apartment of its window
// thread, a hidden window that owns the forms, carries the timers and stands for the
// program on the taskbar, hooks on that window for messages sent to the program as a whole,
// the message loop, the pop-up hint of the control under the pointer, and the standard
// display of an exception that reaches the top of the program.
#include "TControl.h"

#include <windows.h>

#include <exception>
#include <functional>
#include <string>
#include <vector>

class TForm;
class THintWindow;

// Sees a message of the application window before it is handled; true when it handled it
// (its Result is then the answer).
using TWindowHook = std::function<bool(TMessage&)>;

class TApplication {
public:
    TApplication();
    ~TApplication();

    // Makes the calling thread, the window thread, a single-threaded COM apartment; called
    // once before the first window. The apartment ends with the application object.
    void Initialize();

    // Full path of the running executable.
    const std::string& ExeName() const { return FExeName; }
    // The title of message boxes; the executable's base name until set.
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& title);

    // The hidden application window, made on first use on the calling thread.
    HWND Handle();
    // Shows the main form, unless it starts minimized (then a restore shows it), and
    // handles messages until Terminate (or the main form closing) ends the loop.
    void Run();
    // Handles the messages that are waiting, then returns.
    void ProcessMessages();
    void Terminate();
    bool Terminated() const { return FTerminated; }

    // Hides the shown windows that the application window owns, directly or through their
    // owners, and minimizes it; Restore brings them back (and shows a main form that
    // started minimized).
    void Minimize();
    void Restore();
    // The window of the program that was active last comes to the front.
    void BringToFront();
    TNotifyEvent OnMinimize;
    TNotifyEvent OnRestore;

    // Hooks see every message of the application window first, in the order added; the
    // number returned removes the hook again.
    int HookMainWindow(TWindowHook hook);
    void UnhookMainWindow(int hook);

    // The pop-up hint: shown HintPause ms after the pointer comes to a control whose
    // ShowHint is set, hidden after HintHidePause ms or when the pointer leaves it.
    void ActivateHint(TControl* control);
    // Hides the hint; given a control, only the hint that control started (the pointer may
    // have reached another window's control before this one's window saw it leave).
    void CancelHint(TControl* control = nullptr);
    // The hint window, or null while no hint was shown yet.
    THintWindow* HintWindow() const { return FHintWindow; }
    bool ShowHint = true;
    unsigned HintPause = 500;
    unsigned HintHidePause = 2500;
    TColor HintColor = GetSysColor(COLOR_INFOBK);

    // A message box with the exception's message (a point appended when it lacks a final
    // one), the application's title and the stop icon, owned as ShowMessage's (Dialogs.h).
    void ShowException(const std::exception& e, HWND owner = nullptr) const;
    void HandleException(const std::exception& e, HWND owner = nullptr) const { ShowException(e, owner); }

    TForm* MainForm = nullptr;

private:
    static LRESULT CALLBACK WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT WindowMessage(TMessage& m);
    void HintTimer(UINT_PTR id);

    std::string FExeName;
    std::string FTitle;
    HWND FHandle = nullptr;
    bool FTerminated = false;
    bool FComInitialized = false;
    std::vector<std::pair<int, TWindowHook>> FHooks;
    int FLastHook = 0;
    THintWindow* FHintWindow = nullptr;
    std::string FHintText;
    TControl* FHintControl = nullptr;   // only compared, never used: it may be gone
    std::vector<HWND> FHiddenByMinimize;
};

extern TApplication* Application;
