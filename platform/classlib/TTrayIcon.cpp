#include "TTrayIcon.h"

#include "TApplication.h"
#include "TImageList.h"
#include "TMessageWindow.h"
#include "TPopupMenu.h"

#include <shellapi.h>

// Sent to every top-level window when the shell (and its notification area) starts anew.
static UINT TaskbarCreated()
{
    static const UINT id = RegisterWindowMessageA("TaskbarCreated");
    return id;
}

TTrayIcon::TTrayIcon(TComponent* owner) : TComponent(owner)
{
    FHook = Application->HookMainWindow([this](TMessage& m) { return ApplicationMessage(m); });
}

TTrayIcon::~TTrayIcon()
{
    Application->UnhookMainWindow(FHook);
    if (FVisible)
        Notify(NIM_DELETE);
    if (FIcon)
        DestroyIcon(FIcon);
    delete FWindow;
}

HWND TTrayIcon::WindowHandle()
{
    if (!FWindow)
        FWindow = new TMessageWindow([this](TMessage& m) { return TrayMessage(m); });
    return FWindow->Handle();
}

bool TTrayIcon::Notify(DWORD action)
{
    NOTIFYICONDATAA nid = {};
    // The first layout, which every shell knows.
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = WindowHandle();
    nid.uID = IconId;
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    nid.uCallbackMessage = CallbackMessage;
    nid.hIcon = FIcon;
    lstrcpynA(nid.szTip, FHint.c_str(), 64);
    return Shell_NotifyIconA(action, &nid) != FALSE;
}

void TTrayIcon::SetVisible(bool value)
{
    if (value == FVisible)
        return;
    FVisible = value;
    Notify(value ? NIM_ADD : NIM_DELETE);
}

void TTrayIcon::SetHint(const std::string& text)
{
    FHint = text;
    if (FVisible)
        Notify(NIM_MODIFY);
}

void TTrayIcon::SetIcons(TImageList* icons)
{
    FIcons = icons;
    MakeIcon();
}

void TTrayIcon::SetIconIndex(int index)
{
    FIconIndex = index;
    MakeIcon();
}

void TTrayIcon::MakeIcon()
{
    HICON old = FIcon;
    FIcon = FIcons ? FIcons->GetIcon(FIconIndex) : nullptr;
    if (FVisible)
        Notify(NIM_MODIFY);
    if (old)
        DestroyIcon(old);
}

void TTrayIcon::Minimize()
{
    Application->Minimize();
    ShowWindow(Application->Handle(), SW_HIDE);
    if (OnMinimize)
        OnMinimize(this);
}

void TTrayIcon::Restore()
{
    Application->Restore();
    Application->BringToFront();
    if (OnRestore)
        OnRestore(this);
}

bool TTrayIcon::TrayMessage(TMessage& m)
{
    if (m.Msg == TaskbarCreated()) {
        if (FVisible)
            Notify(NIM_ADD);
        return true;
    }
    if (m.Msg != CallbackMessage)
        return false;
    switch (m.LParam) {
    case WM_LBUTTONUP:
        if (OnClick)
            OnClick(this);
        break;
    case WM_LBUTTONDBLCLK:
        Restore();
        if (OnDblClick)
            OnDblClick(this);
        break;
    case WM_RBUTTONUP:
        if (PopupMenu) {
            POINT p;
            GetCursorPos(&p);
            PopupMenu->Popup(p.x, p.y);
        }
        break;
    default:
        break;
    }
    return true;
}

bool TTrayIcon::ApplicationMessage(TMessage& m)
{
    if (!FVisible || m.Msg != WM_SYSCOMMAND)
        return false;
    switch (m.WParam & 0xFFF0) {
    case SC_MINIMIZE:
        Minimize();
        return true;
    case SC_RESTORE:
        Restore();
        return true;
    default:
        return false;
    }
}
