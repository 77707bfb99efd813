#include "QuelmainDriver.h"

#include "COptRWClass.h"
#include "MainForm.h"
#include "TRegistry.h"
#include "TestSupport.h"

#include <utility>
#include <vector>


namespace quelmain_driver {

using testing_support::ExeDir;
using testing_support::WindowText;

void StoreSettings(const std::function<void(TMainFm&)>& change)
{
    TRegistry(HKEY_CURRENT_USER).DeleteKey("Software\\Ostrand");
    TMainFm* fm = NewForm<TMainFm>(nullptr);
    MainFm = fm;
    for (auto* list : {&fm->Container.IEItems, &fm->Container.WinItems, &fm->Container.NetItems})
        for (int i = 0; i < list->Count; ++i)
            if ((*list)[i]->Tag > 0)
                (*list)[i]->SetDown(false);
    change(*fm);
    fm->Options->SaveOptions();
    fm->Free();
    MainFm = nullptr;
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(50);
    }
    return true;
}

QuelmainDriver::~QuelmainDriver()
{
    if (FProcess) {
        if (WaitForSingleObject(FProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(FProcess, 99);
        CloseHandle(FProcess);
    }
}

bool QuelmainDriver::Start()
{
    std::string command = "\"" + ExeDir() + "\\Quelmain.exe\"";
    FProcess = testing_support::StartProgram(command, &FPid);
    return FProcess != nullptr;
}

bool QuelmainDriver::Crashed()
{
    // Wine reports an unhandled exception on its own error output, which is not the
    // program's, and starts its debugger on the crashed process: the debugger shows it.
    return FCrashed || !testing_support::WaitForNoProcess("winedbg.exe", 0);
}

namespace {

struct Search {
    DWORD Pid;
    const std::function<bool(HWND)>* Match;
    HWND Found;
};

BOOL CALLBACK MatchWindow(HWND wnd, LPARAM data)
{
    auto* s = reinterpret_cast<Search*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(wnd, &owner);
    if (owner == s->Pid && IsWindowVisible(wnd) && (*s->Match)(wnd)) {
        s->Found = wnd;
        return FALSE;
    }
    return TRUE;
}

std::string ClassOf(HWND wnd)
{
    char cls[64] = "";
    GetClassNameA(wnd, cls, sizeof cls);
    return cls;
}

// Absolute pointer coordinates run from 0 to 65535 over the primary screen.
void PointerTo(int x, int y, DWORD extra)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
    in.mi.dy = MulDiv(y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
    in.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | extra;
    SendInput(1, &in, sizeof in);
}

void ClickAt(POINT p, DWORD down, DWORD up)
{
    PointerTo(p.x, p.y, 0);
    Sleep(50);
    PointerTo(p.x, p.y, down);
    Sleep(50);
    PointerTo(p.x, p.y, up);
    Sleep(50);
}

BOOL CALLBACK DescribeOne(HWND wnd, LPARAM data)
{
    if (!IsWindowVisible(wnd))
        return TRUE;
    RECT r;
    GetWindowRect(wnd, &r);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    *reinterpret_cast<std::string*>(data) += ClassOf(wnd) + " \"" + WindowText(wnd) + "\" pid " + std::to_string(pid) +
                                             " at " + std::to_string(r.left) + "," + std::to_string(r.top) + " " +
                                             std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top) +
                                             "\n";
    return TRUE;
}

}  // namespace

std::string DescribeWindows()
{
    std::string out;
    EnumWindows(DescribeOne, reinterpret_cast<LPARAM>(&out));
    return out;
}

HWND QuelmainDriver::FindWindowOf(const std::function<bool(HWND)>& match, DWORD timeoutMs) const
{
    Search s = {FPid, &match, nullptr};
    WaitUntil(
        [&] {
            s.Found = nullptr;
            EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&s));
            return s.Found != nullptr;
        },
        timeoutMs);
    return s.Found;
}

HWND QuelmainDriver::MainWindow(DWORD timeoutMs)
{
    return FindWindowOf([](HWND w) { return ClassOf(w) == "QueloraWindow" && WindowText(w) == "Quelora"; },
                        timeoutMs);
}

HWND QuelmainDriver::WaitForWindow(const std::string& text, DWORD timeoutMs, HWND besides)
{
    return FindWindowOf(
        [&](HWND w) { return w != besides && ClassOf(w) == "QueloraWindow" && WindowText(w) == text; }, timeoutMs);
}

HWND QuelmainDriver::WaitForProgressWindow(DWORD timeoutMs)
{
    return FindWindowOf(
        [](HWND w) {
            RECT r;
            GetClientRect(w, &r);
            return ClassOf(w) == "QueloraWindow" && r.right == 313 && r.bottom == 97;
        },
        timeoutMs);
}

HWND QuelmainDriver::WaitForMessageBox(DWORD timeoutMs, HWND besides)
{
    return FindWindowOf([besides](HWND w) { return w != besides && ClassOf(w) == "#32770"; }, timeoutMs);
}

bool QuelmainDriver::WaitUntilGone(HWND wnd, DWORD timeoutMs)
{
    return WaitUntil([wnd] { return !IsWindow(wnd) || !IsWindowVisible(wnd); }, timeoutMs);
}

void QuelmainDriver::Click(HWND wnd, int x, int y)
{
    POINT p = {x, y};
    ClientToScreen(wnd, &p);
    ClickAt(p, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
}

void QuelmainDriver::ClickCentre(HWND wnd, int left, int top, int width, int height)
{
    Click(wnd, left + width / 2, top + height / 2);
}

void QuelmainDriver::PressKey(WORD vk)
{
    testing_support::SendKey(vk, false);
    Sleep(30);
    testing_support::SendKey(vk, true);
    Sleep(100);
}

namespace {

// Without a notification area on the display, Wine keeps the icons in a small window of its
// own, one child window per icon. It is put in a free corner, above everything, so that the
// click reaches it.
bool TrayIconCentre(POINT& p)
{
    HWND tray = nullptr;
    HWND icon = nullptr;
    if (!WaitUntil(
            [&] {
                tray = FindWindowA("__winex11_standalone_tray", nullptr);
                icon = tray ? GetWindow(tray, GW_CHILD) : nullptr;
                return icon && IsWindowVisible(tray);
            },
            60000))
        return false;
    RECT r;
    GetWindowRect(tray, &r);
    SetWindowPos(tray, HWND_TOPMOST, GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left),
                 GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top), 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    Sleep(200);
    // The program's icon is the only one.
    RECT i;
    GetClientRect(icon, &i);
    p = {i.right / 2, i.bottom / 2};
    ClientToScreen(icon, &p);
    return true;
}

}  // namespace

bool QuelmainDriver::ClickTrayIcon()
{
    POINT p;
    if (!TrayIconCentre(p))
        return false;
    ClickAt(p, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    return true;
}

bool QuelmainDriver::OpenTrayMenu()
{
    POINT p;
    if (!TrayIconCentre(p))
        return false;
    ClickAt(p, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    return FindWindowOf([](HWND w) { return ClassOf(w) == "#32768"; }, 60000) != nullptr;
}

void QuelmainDriver::ChooseFromEnd(int steps)
{
    for (int i = 0; i < steps; ++i)
        PressKey(VK_UP);
    PressKey(VK_RETURN);
}

bool QuelmainDriver::TrayClose()
{
    if (!OpenTrayMenu())
        return false;
    ChooseFromEnd(1);
    return true;
}

bool QuelmainDriver::TrayAbout()
{
    if (!OpenTrayMenu())
        return false;
    ChooseFromEnd(2);
    return true;
}

bool QuelmainDriver::TrayCleanNow()
{
    if (!OpenTrayMenu())
        return false;
    PressKey(VK_DOWN);   // the first item
    PressKey(VK_RETURN);
    return true;
}

namespace {

BOOL CALLBACK CollectWindows(HWND wnd, LPARAM data)
{
    auto* of = reinterpret_cast<std::pair<DWORD, std::vector<HWND>>*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    if (pid == of->first)
        of->second.push_back(wnd);
    return TRUE;
}

}  // namespace

bool QuelmainDriver::EndSession(DWORD timeoutMs)
{
    std::pair<DWORD, std::vector<HWND>> windows(FPid, {});
    EnumWindows(CollectWindows, reinterpret_cast<LPARAM>(&windows));
    bool agreed = !windows.second.empty();
    for (UINT message : {WM_QUERYENDSESSION, WM_ENDSESSION})
        for (HWND wnd : windows.second) {
            DWORD_PTR answer = 0;
            WPARAM ending = message == WM_ENDSESSION ? agreed : 0;
            if (!SendMessageTimeoutA(wnd, message, ending, ENDSESSION_LOGOFF, SMTO_NORMAL, timeoutMs, &answer))
                agreed = false;
            else if (message == WM_QUERYENDSESSION && !answer)
                agreed = false;
        }
    return agreed;
}

void QuelmainDriver::EndProcess()
{
    TerminateProcess(FProcess, 0);
    WaitForSingleObject(FProcess, 5000);
}

DWORD QuelmainDriver::ExitCode(DWORD timeoutMs)
{
    if (!FProcess)
        return 0xDEADu;
    if (WaitForSingleObject(FProcess, timeoutMs) != WAIT_OBJECT_0) {
        // A crashed program is held by the debugger until it is ended.
        FCrashed = FCrashed || Crashed();
        TerminateProcess(FProcess, 99);
        WaitForSingleObject(FProcess, 5000);
        return 0xDEADu;
    }
    DWORD code = 0;
    GetExitCodeProcess(FProcess, &code);
    FCrashed = FCrashed || code == 0xC0000005u;
    return code;
}

}  // namespace quelmain_driver
