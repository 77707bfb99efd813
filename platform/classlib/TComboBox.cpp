#include "TComboBox.h"

void TComboBoxItems::Add(const std::string& text)
{
    FItems.push_back(text);
    if (FOwner.HandleAllocated())
        SendMessageA(FOwner.Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void TComboBoxItems::Clear()
{
    FItems.clear();
    FOwner.FItemIndex = -1;
    if (FOwner.HandleAllocated())
        SendMessageA(FOwner.Handle(), CB_RESETCONTENT, 0, 0);
}

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner), Items(*this)
{
    FWidth = 145;
    FHeight = 21;
    Color = clWhite;
}

void TComboBox::CreateParams(DWORD& style, DWORD& exStyle, HWND& parent)
{
    TWinControl::CreateParams(style, exStyle, parent);
    style |= CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
}

void TComboBox::CreateHandle()
{
    TWinControl::CreateHandle();
    HWND wnd = Handle();
    SendMessageA(wnd, WM_SETFONT, reinterpret_cast<WPARAM>(Font.Handle()), FALSE);
    for (const std::string& text : Items.FItems)
        SendMessageA(wnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageA(wnd, CB_SETCURSEL, static_cast<WPARAM>(FItemIndex.load()), 0);
    SetBounds(FLeft, FTop, FWidth, FHeight);
}

int TComboBox::DroppedHeight()
{
    RECT r;
    GetWindowRect(Handle(), &r);
    auto item = static_cast<int>(SendMessageA(Handle(), CB_GETITEMHEIGHT, 0, 0));
    return r.bottom - r.top + DropDownCount * item + 2;
}

void TComboBox::SetBounds(int left, int top, int width, int height)
{
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    // The system keeps the closed height to the font; the window's own height is that of
    // the open list.
    if (HandleAllocated())
        SetWindowPos(Handle(), nullptr, left, top, width, DroppedHeight(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void TComboBox::SetItemIndex(int index)
{
    if (index < -1 || index >= Items.Count())
        index = -1;
    FItemIndex = index;
    if (HandleAllocated())
        SendMessageA(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::string TComboBox::Text() const
{
    int index = FItemIndex;
    return index >= 0 && index < Items.Count() ? Items[index] : std::string();
}

void TComboBox::Dispatch(TMessage& m)
{
    if (m.Msg == CN_COMMAND) {
        // The system may report the close before the change: the choice is read anew first.
        FItemIndex = static_cast<int>(SendMessageA(Handle(), CB_GETCURSEL, 0, 0));
        if (HIWORD(m.WParam) == CBN_SELCHANGE && OnChange)
            OnChange(this);
        if (HIWORD(m.WParam) == CBN_CLOSEUP && OnCloseUp)
            OnCloseUp(this);
        return;
    }
    if (m.Msg == WM_CHAR && AutoDropDown && m.WParam >= ' ' && HandleAllocated() &&
        !SendMessageA(Handle(), CB_GETDROPPEDSTATE, 0, 0))
        SendMessageA(Handle(), CB_SHOWDROPDOWN, TRUE, 0);
    TWinControl::Dispatch(m);
    if (m.Msg == WM_WINDOWPOSCHANGED && HandleAllocated()) {
        RECT r;
        GetWindowRect(Handle(), &r);
        FHeight = r.bottom - r.top;
    }
}
