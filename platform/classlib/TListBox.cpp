#include "TListBox.h"

#include <algorithm>

int TListBoxItems::AddObject(const std::string& text, void* object)
{
    int index = Count();
    if (FOwner.Sorted) {
        // The system's order for a sorted list: case-insensitive, by the user's locale.
        auto at = std::upper_bound(FTexts.begin(), FTexts.end(), text, [](const std::string& a, const std::string& b) {
            return lstrcmpiA(a.c_str(), b.c_str()) < 0;
        });
        index = static_cast<int>(at - FTexts.begin());
    }
    Put(index, text, object);
    return index;
}

void TListBoxItems::Insert(int index, const std::string& text)
{
    if (index < 0 || index > Count())
        index = Count();
    Put(index, text, nullptr);
}

void TListBoxItems::Put(int index, const std::string& text, void* object)
{
    FTexts.insert(FTexts.begin() + index, text);
    FObjects.insert(FObjects.begin() + index, object);
    if (FOwner.FItemIndex >= index)
        ++FOwner.FItemIndex;
    if (FOwner.HandleAllocated())
        SendMessageA(FOwner.Handle(), LB_INSERTSTRING, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(text.c_str()));
}

void TListBoxItems::Delete(int index)
{
    if (index < 0 || index >= Count())
        return;
    FTexts.erase(FTexts.begin() + index);
    FObjects.erase(FObjects.begin() + index);
    if (FOwner.FItemIndex == index)
        FOwner.FItemIndex = -1;
    else if (FOwner.FItemIndex > index)
        --FOwner.FItemIndex;
    if (FOwner.HandleAllocated())
        SendMessageA(FOwner.Handle(), LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void TListBoxItems::Clear()
{
    FTexts.clear();
    FObjects.clear();
    FOwner.FItemIndex = -1;
    if (FOwner.HandleAllocated())
        SendMessageA(FOwner.Handle(), LB_RESETCONTENT, 0, 0);
}

TListBox::TListBox(TComponent* owner) : TWinControl(owner), Items(*this)
{
    FWidth = 121;
    FHeight = 97;
    Color = clWhite;
}

void TListBox::CreateParams(DWORD& style, DWORD& exStyle, HWND& parent)
{
    TWinControl::CreateParams(style, exStyle, parent);
    // The rows are placed here (inserted at their sorted place), never by the system.
    style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_TABSTOP;
}

void TListBox::CreateHandle()
{
    TWinControl::CreateHandle();
    HWND wnd = Handle();
    SendMessageA(wnd, WM_SETFONT, reinterpret_cast<WPARAM>(Font.Handle()), FALSE);
    SendMessageA(wnd, LB_SETITEMHEIGHT, 0, ItemHeight);
    for (const std::string& text : Items.FTexts)
        SendMessageA(wnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageA(wnd, LB_SETCURSEL, static_cast<WPARAM>(FItemIndex), 0);
}

int TListBox::ItemIndex() const
{
    return FItemIndex;
}

void TListBox::SetItemIndex(int index)
{
    if (index < -1 || index >= Items.Count())
        index = -1;
    FItemIndex = index;
    if (HandleAllocated())
        SendMessageA(Handle(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void TListBox::DrawItem(const DRAWITEMSTRUCT& item)
{
    auto index = static_cast<int>(item.itemID);
    if (index < 0 || index >= Items.Count())
        return;
    TOwnerDrawState state = 0;
    if (item.itemState & ODS_SELECTED)
        state |= odSelected;
    if (item.itemState & ODS_FOCUS)
        state |= odFocused;
    if (item.itemState & ODS_DISABLED)
        state |= odDisabled;
    int saved = SaveDC(item.hDC);
    Canvas.DrawDC = item.hDC;
    Canvas.Font.Assign(Font);
    Canvas.Brush.Style = bsSolid;
    Canvas.Brush.Color = state & odSelected ? GetSysColor(COLOR_HIGHLIGHT) : Color;
    Canvas.Font.Color = state & odSelected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : Font.Color;
    try {
        if (OnDrawItem) {
            OnDrawItem(this, index, item.rcItem, state);
        } else {
            Canvas.FillRect(item.rcItem);
            Canvas.TextOut(item.rcItem.left + 2, item.rcItem.top, Items[index]);
        }
    } catch (...) {
        Canvas.DrawDC = nullptr;
        RestoreDC(item.hDC, saved);
        throw;
    }
    Canvas.DrawDC = nullptr;
    RestoreDC(item.hDC, saved);
}

void TListBox::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CN_COMMAND:
        if (HIWORD(m.WParam) == LBN_SELCHANGE) {
            FItemIndex = static_cast<int>(SendMessageA(Handle(), LB_GETCURSEL, 0, 0));
            if (OnClick)
                OnClick(this);
        }
        return;
    case CN_DRAWITEM:
        DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam));
        m.Result = TRUE;
        return;
    case WM_KEYDOWN:
        if (OnKeyDown) {
            auto key = static_cast<WORD>(m.WParam);
            OnKeyDown(this, key, 0);
            if (key == 0)
                return;
            m.WParam = key;
        }
        break;
    default:
        break;
    }
    TWinControl::Dispatch(m);
}
