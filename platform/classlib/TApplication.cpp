#include "TApplication.h"

#include "Dialogs.h"
#include "Exceptions.h"
#include "SysUtils.h"
#include "TForm.h"
#include "THintWindow.h"
#include "TScreen.h"
#include "TTimer.h"

#include <ole2.h>

#include <algorithm>
#include <vector>

static TApplication TheApplication;
TApplication* Application = &TheApplication;
static TScreen TheScreen;
TScreen* Screen = &TheScreen;
static TMouse TheMouse;
TMouse* Mouse = &TheMouse;

namespace {

// The application window's own timers; a TTimer's id is its address, never one of these.
const UINT_PTR HintShowTimer = 1;
const UINT_PTR HintHideTimer = 2;

std::string ModulePath()
{
    std::vector<char> buf(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameA(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n < buf.size())
            return std::string(buf.data(), n);
        buf.resize(buf.size() * 2);
    }
}

}  // namespace

TApplication::TApplication() : FExeName(ModulePath())
{
    FTitle = ChangeFileExt(ExtractFileName(FExeName), "");
}

TApplication::~TApplication()
{
    delete FHintWindow;
    // What hooked the window is gone by now; its last messages are the system's alone.
    FHooks.clear();
    HWND wnd = FHandle;
    FHandle = nullptr;
    if (wnd)
        DestroyWindow(wnd);
    if (FComInitialized)
        OleUninitialize();
}

void TApplication::Initialize()
{
    if (!FComInitialized)
        FComInitialized = SUCCEEDED(OleInitialize(nullptr));
}

void TApplication::SetTitle(const std::string& title)
{
    FTitle = title;
    if (FHandle)
        SetWindowTextA(FHandle, title.c_str());
}

LRESULT CALLBACK TApplication::WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TMessage m = {msg, wParam, lParam, 0};
    if (wnd != Application->FHandle)   // messages while the window is being made
        return DefWindowProcA(wnd, msg, wParam, lParam);
    try {
        return Application->WindowMessage(m);
    } catch (const std::exception& e) {
        Application->HandleException(e);
    } catch (...) {
        Application->HandleException(Exception(""));
    }
    return 0;
}

LRESULT TApplication::WindowMessage(TMessage& m)
{
    // A copy: a hook may remove itself, or another one.
    std::vector<std::pair<int, TWindowHook>> hooks = FHooks;
    for (auto& hook : hooks)
        if (hook.second(m))
            return m.Result;
    switch (m.Msg) {
    case WM_TIMER:
        if (m.WParam == HintShowTimer || m.WParam == HintHideTimer)
            HintTimer(m.WParam);
        else
            TTimer::Fire(m.WParam);
        return 0;
    case WM_SYSCOMMAND:
        switch (m.WParam & 0xFFF0) {
        case SC_MINIMIZE:
            Minimize();
            return 0;
        case SC_RESTORE:
            Restore();
            return 0;
        case SC_CLOSE:
            if (MainForm)
                MainForm->Close();
            return 0;
        }
        break;
    }
    return DefWindowProcA(FHandle, m.Msg, m.WParam, m.LParam);
}

HWND TApplication::Handle()
{
    if (FHandle)
        return FHandle;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TApplication";
    RegisterClassA(&wc);
    // Without a size it is never seen, only its taskbar button while it is shown; the
    // system menu and minimize box give that button its commands.
    FHandle = CreateWindowExA(0, "TApplication", FTitle.c_str(),
                              WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                              GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
    return FHandle;
}

void TApplication::Run()
{
    Handle();
    if (MainForm && MainForm->WindowState() != wsMinimized) {
        ShowWindow(FHandle, SW_SHOWNOACTIVATE);
        if (!MainForm->Visible())
            MainForm->Show();
    }
    MSG m;
    while (!FTerminated && GetMessageA(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    FTerminated = true;
}

void TApplication::ProcessMessages()
{
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (m.message == WM_QUIT) {
            FTerminated = true;
            break;
        }
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
}

void TApplication::Terminate()
{
    FTerminated = true;
    PostQuitMessage(0);
}

namespace {

struct TOwnedWindows {
    HWND Owner;
    std::vector<HWND>& Shown;
};

BOOL CALLBACK CollectShownOwned(HWND wnd, LPARAM param)
{
    auto* owned = reinterpret_cast<TOwnedWindows*>(param);
    HWND owner = GetWindow(wnd, GW_OWNER);
    while (owner && owner != owned->Owner)
        owner = GetWindow(owner, GW_OWNER);
    if (owner && IsWindowVisible(wnd))
        owned->Shown.push_back(wnd);
    return TRUE;
}

}  // namespace

void TApplication::Minimize()
{
    CancelHint();
    HWND app = Handle();
    // Added to what an earlier minimize hid, which the restore must show as well.
    std::vector<HWND> shown;
    TOwnedWindows owned = {app, shown};
    EnumThreadWindows(GetCurrentThreadId(), CollectShownOwned, reinterpret_cast<LPARAM>(&owned));
    for (HWND wnd : shown)
        ShowWindow(wnd, SW_HIDE);
    FHiddenByMinimize.insert(FHiddenByMinimize.end(), shown.begin(), shown.end());
    ShowWindow(app, SW_MINIMIZE);
    if (OnMinimize)
        OnMinimize(nullptr);
}

void TApplication::Restore()
{
    ShowWindow(Handle(), SW_RESTORE);
    for (HWND wnd : FHiddenByMinimize)
        if (IsWindow(wnd))
            ShowWindow(wnd, SW_SHOWNA);
    FHiddenByMinimize.clear();
    if (MainForm && !MainForm->Visible() && MainForm->WindowState() == wsMinimized) {
        MainForm->SetWindowState(wsNormal);
        MainForm->Show();
    }
    if (OnRestore)
        OnRestore(nullptr);
}

void TApplication::BringToFront()
{
    SetForegroundWindow(GetLastActivePopup(Handle()));
}

int TApplication::HookMainWindow(TWindowHook hook)
{
    FHooks.emplace_back(++FLastHook, std::move(hook));
    return FLastHook;
}

void TApplication::UnhookMainWindow(int hook)
{
    FHooks.erase(std::remove_if(FHooks.begin(), FHooks.end(), [hook](const auto& h) { return h.first == hook; }),
                 FHooks.end());
}

void TApplication::ActivateHint(TControl* control)
{
    CancelHint();
    if (!ShowHint || !control || !control->ShowHint || control->Hint.empty())
        return;
    // The text, not the control: the control may be gone by the time the pause is over.
    FHintText = control->Hint;
    FHintControl = control;
    SetTimer(Handle(), HintShowTimer, HintPause, nullptr);
}

void TApplication::CancelHint(TControl* control)
{
    if (!FHandle || (control && control != FHintControl))
        return;
    FHintControl = nullptr;
    KillTimer(FHandle, HintShowTimer);
    KillTimer(FHandle, HintHideTimer);
    if (FHintWindow)
        FHintWindow->ReleaseHandle();
}

void TApplication::HintTimer(UINT_PTR id)
{
    KillTimer(FHandle, id);
    if (id == HintHideTimer) {
        CancelHint();
        return;
    }
    if (!FHintWindow)
        FHintWindow = new THintWindow(nullptr);
    FHintWindow->Color = HintColor;
    FHintWindow->Canvas.Brush.Color = HintColor;
    RECT r = FHintWindow->CalcHintRect(FHintText);
    // Below the pointer, kept on the screen.
    POINT p = Mouse->CursorPos();
    int x = std::max(0, std::min<int>(p.x, Screen->Width() - r.right));
    int y = p.y + GetSystemMetrics(SM_CYCURSOR) * 3 / 4;
    if (y + r.bottom > Screen->Height())
        y = p.y - r.bottom;
    OffsetRect(&r, x, y);
    FHintWindow->ActivateHint(r, FHintText);
    SetTimer(FHandle, HintHideTimer, HintHidePause, nullptr);
}

void TApplication::ShowException(const std::exception& e, HWND owner) const
{
    std::string msg = e.what();
    if (!msg.empty() && static_cast<unsigned char>(msg.back()) > '.')
        msg += '.';
    ShowBox(msg, MB_OK | MB_ICONSTOP, owner);
}
