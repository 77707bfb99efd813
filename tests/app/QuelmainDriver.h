#pragma once
// Quelmain.exe used as a person uses it: started in the sandbox, its windows found as they
// come and go, clicked and typed at through the system's input queue (SendInput on the
// virtual screen), its tray menu opened on the icon in the notification area. A crash
// shows as the debugger Wine starts on it.
#include <windows.h>

#include <functional>
#include <string>

class TMainFm;

namespace quelmain_driver {

// Stored settings made the way the program makes them: the window built here, every item
// of the three groups up, then changed by `change`, and the whole stored as on exit.
void StoreSettings(const std::function<void(TMainFm&)>& change);

class QuelmainDriver {
public:
    QuelmainDriver() = default;
    ~QuelmainDriver();
    QuelmainDriver(const QuelmainDriver&) = delete;
    QuelmainDriver& operator=(const QuelmainDriver&) = delete;

    bool Start();
    DWORD Pid() const { return FPid; }
    // The main window, once it is shown.
    HWND MainWindow(DWORD timeoutMs = 60000);
    // A shown top-level window of the program with that text (the secondary windows carry
    // their form's name as text) other than `besides`, or null after the time.
    HWND WaitForWindow(const std::string& text, DWORD timeoutMs = 60000, HWND besides = nullptr);
    // The run's progress window: the program's shown window of the progress window's size.
    HWND WaitForProgressWindow(DWORD timeoutMs = 60000);
    // The program's message box other than `besides`, or null after the time.
    HWND WaitForMessageBox(DWORD timeoutMs = 60000, HWND besides = nullptr);
    // False when the window is still there after the time.
    static bool WaitUntilGone(HWND wnd, DWORD timeoutMs = 60000);

    // A left click at client coordinates of the window, or at the centre of a rectangle.
    static void Click(HWND wnd, int x, int y);
    static void ClickCentre(HWND wnd, int left, int top, int width, int height);
    static void PressKey(WORD vk);

    // Right-clicks the program's icon in the notification area and waits for its menu.
    bool OpenTrayMenu();
    // Left-clicks that icon: the popup blocker's switch.
    static bool ClickTrayIcon();
    // The menu item that many steps up from the menu's end (1 = the last item), chosen
    // with the keyboard.
    static void ChooseFromEnd(int steps);
    // "Close Quelora", "About..." and "Clean Now" of the tray menu.
    bool TrayClose();
    bool TrayAbout();
    bool TrayCleanNow();

    // The session ends as the system ends it: every top-level window of the program is
    // asked, then told that the session ends. False when a window said no or did not answer
    // in the time. The system then ends the process: EndProcess.
    bool EndSession(DWORD timeoutMs = 120000);
    void EndProcess();

    // The exit code once the program has ended; 0xDEAD when it did not end in time (it is
    // then ended).
    DWORD ExitCode(DWORD timeoutMs = 30000);
    // Whether the program crashed: Wine's debugger runs, or the exit code is an access
    // violation's.
    bool Crashed();

private:
    HWND FindWindowOf(const std::function<bool(HWND)>& match, DWORD timeoutMs) const;
    HANDLE FProcess = nullptr;
    DWORD FPid = 0;
    bool FCrashed = false;
};

// The shown top-level windows of the session, one line each (class, text, place): what a
// failed step saw.
std::string DescribeWindows();

// Waits until done() holds; false when it still does not after the time.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs);

}  // namespace quelmain_driver
