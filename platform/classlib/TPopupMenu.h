#pragma once
// A shortcut menu: items with a caption, a 16 x 16 picture from the menu's image list (or
// one of their own) and an OnClick that runs once the menu has closed. The menu window is
// built when first shown or asked for, and every later change of an item reaches it at once.
#include "TBitmap.h"
#include "TComponent.h"

#include <windows.h>

#include <string>
#include <vector>

class TImageList;
class TMessageWindow;
class TPopupMenu;
struct TMessage;

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* owner) : TComponent(owner) {}
    ~TMenuItem() override;

    // "-" makes the item a separator line.
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& caption);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    // The picture of the menu's image list, -1 for none (then Bitmap, when it has one).
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int index);
    // A picture of the item's own; its bottom-left pixel's colour is transparent.
    TBitmap Bitmap;

    // Set on an item whose caption the program switches with its state: a language file
    // then leaves the caption as switched.
    bool RunTimeCaption = false;

    // Fires OnClick when the item is enabled.
    void Click();
    TNotifyEvent OnClick;

    TPopupMenu* Menu() const { return FMenu; }
    // The command id that the menu window sends for the item.
    UINT Command() const { return FCommand; }

private:
    friend class TPopupMenu;
    void Changed();

    TPopupMenu* FMenu = nullptr;
    UINT FCommand = 0;
    std::string FCaption;
    bool FEnabled = true;
    int FImageIndex = -1;
};

class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(TComponent* owner);
    ~TPopupMenu() override;

    TImageList* Images = nullptr;

    // Appends the item (owned by whoever made it, usually the form).
    void Add(TMenuItem* item);
    int Count() const { return static_cast<int>(FItems.size()); }
    TMenuItem* Items(int index) const { return FItems[static_cast<size_t>(index)]; }
    // The item with that command id, or null.
    TMenuItem* FindItem(UINT command) const;

    // Shows the menu at the screen point (unrolling from the bottom up) and returns when it
    // closed; the chosen item's OnClick follows from the message loop.
    void Popup(int x, int y);
    HMENU Handle();
    // The window the menu's commands and drawing requests reach.
    HWND WindowHandle();

private:
    friend class TMenuItem;
    void Remove(TMenuItem* item);
    void InsertItem(UINT position, TMenuItem* item);
    // Writes an item's caption, state and picture into the menu window.
    void UpdateItem(TMenuItem* item);
    bool MenuMessage(TMessage& m);
    void DrawPicture(TMenuItem* item, HDC dc, const RECT& r);

    std::vector<TMenuItem*> FItems;
    UINT FLastCommand = 0;
    HMENU FHandle = nullptr;
    TMessageWindow* FWindow = nullptr;
};
