#include "TPopupMenu.h"

#include "TImageList.h"
#include "TMessageWindow.h"

#include <algorithm>

TMenuItem::~TMenuItem()
{
    if (FMenu)
        FMenu->Remove(this);
}

void TMenuItem::SetCaption(const std::string& caption)
{
    FCaption = caption;
    Changed();
}

void TMenuItem::SetEnabled(bool value)
{
    FEnabled = value;
    Changed();
}

void TMenuItem::SetImageIndex(int index)
{
    FImageIndex = index;
    Changed();
}

void TMenuItem::Changed()
{
    if (FMenu)
        FMenu->UpdateItem(this);
}

void TMenuItem::Click()
{
    if (FEnabled && OnClick)
        OnClick(this);
}

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner) {}

TPopupMenu::~TPopupMenu()
{
    for (TMenuItem* item : FItems)
        item->FMenu = nullptr;
    if (FHandle)
        DestroyMenu(FHandle);
    delete FWindow;
}

void TPopupMenu::Add(TMenuItem* item)
{
    if (item->FMenu)
        item->FMenu->Remove(item);
    item->FMenu = this;
    item->FCommand = ++FLastCommand;
    FItems.push_back(item);
    if (FHandle)
        InsertItem(static_cast<UINT>(FItems.size() - 1), item);
}

void TPopupMenu::InsertItem(UINT position, TMenuItem* item)
{
    MENUITEMINFOA mi = {};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_ID;
    mi.wID = item->FCommand;
    InsertMenuItemA(FHandle, position, TRUE, &mi);
    UpdateItem(item);
}

void TPopupMenu::Remove(TMenuItem* item)
{
    FItems.erase(std::remove(FItems.begin(), FItems.end(), item), FItems.end());
    if (FHandle)
        DeleteMenu(FHandle, item->FCommand, MF_BYCOMMAND);
    item->FMenu = nullptr;
}

TMenuItem* TPopupMenu::FindItem(UINT command) const
{
    for (TMenuItem* item : FItems)
        if (item->FCommand == command)
            return item;
    return nullptr;
}

HMENU TPopupMenu::Handle()
{
    if (FHandle)
        return FHandle;
    FHandle = CreatePopupMenu();
    for (size_t i = 0; i < FItems.size(); ++i)
        InsertItem(static_cast<UINT>(i), FItems[i]);
    return FHandle;
}

void TPopupMenu::UpdateItem(TMenuItem* item)
{
    if (!FHandle)
        return;
    MENUITEMINFOA mi = {};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_FTYPE | MIIM_STATE;
    if (item->FCaption == "-") {
        mi.fType = MFT_SEPARATOR;
    } else {
        mi.fMask |= MIIM_STRING | MIIM_BITMAP;
        mi.fType = MFT_STRING;
        mi.dwTypeData = const_cast<char*>(item->FCaption.c_str());
        // Drawn by the menu's window when the menu asks for it, so that a new picture
        // number shows without a change to the menu.
        mi.hbmpItem = HBMMENU_CALLBACK;
    }
    mi.fState = item->FEnabled ? MFS_ENABLED : MFS_GRAYED;
    SetMenuItemInfoA(FHandle, item->FCommand, FALSE, &mi);
}

HWND TPopupMenu::WindowHandle()
{
    if (!FWindow)
        FWindow = new TMessageWindow([this](TMessage& m) { return MenuMessage(m); });
    return FWindow->Handle();
}

void TPopupMenu::Popup(int x, int y)
{
    HWND wnd = WindowHandle();
    HMENU menu = Handle();
    // A menu whose window is not in the foreground stays open when the user clicks
    // elsewhere; the message after it lets the menu close properly.
    SetForegroundWindow(wnd);
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_VERNEGANIMATION, x, y, 0, wnd,
                   nullptr);
    PostMessageA(wnd, WM_NULL, 0, 0);
}

bool TPopupMenu::MenuMessage(TMessage& m)
{
    switch (m.Msg) {
    case WM_COMMAND:
        if (m.LParam != 0 || HIWORD(m.WParam) != 0)
            return false;
        if (TMenuItem* item = FindItem(LOWORD(m.WParam)))
            item->Click();
        return true;
    case WM_MEASUREITEM: {
        auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
        if (mi->CtlType != ODT_MENU)
            return false;
        mi->itemWidth = Images ? static_cast<UINT>(Images->Width()) : 16;
        mi->itemHeight = Images ? static_cast<UINT>(Images->Height()) : 16;
        m.Result = TRUE;
        return true;
    }
    case WM_DRAWITEM: {
        auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
        if (di->CtlType != ODT_MENU)
            return false;
        DrawPicture(FindItem(di->itemID), di->hDC, di->rcItem);
        m.Result = TRUE;
        return true;
    }
    default:
        return false;
    }
}

void TPopupMenu::DrawPicture(TMenuItem* item, HDC dc, const RECT& r)
{
    if (!item)
        return;
    int middle = (r.top + r.bottom) / 2;
    if (Images && item->FImageIndex >= 0 && item->FImageIndex < Images->Count()) {
        Images->Draw(dc, r.left, middle - Images->Height() / 2, item->FImageIndex);
    } else if (item->Bitmap.Width() > 0) {
        TImageList own(nullptr, item->Bitmap.Width(), item->Bitmap.Height());
        own.Assign(item->Bitmap);
        own.Draw(dc, r.left, middle - own.Height() / 2, 0);
    }
}
