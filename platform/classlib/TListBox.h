#pragma once
// The system's list box with owner-drawn rows of one fixed height. The rows' texts and the
// object attached to each are kept here too, so that they hold before the window exists;
// a sorted list puts each new row where the system's own order puts it.
#include "TCanvas.h"
#include "TWinControl.h"

#include <functional>
#include <string>
#include <vector>

class TListBox;

enum : unsigned { odSelected = 1, odFocused = 2, odDisabled = 4 };
using TOwnerDrawState = unsigned;
// Draws row `index` in `rect` on the list's Canvas; the brush and font colour are already
// chosen (the system's highlight colours for the selected row).
using TDrawItemEvent = std::function<void(TObject*, int index, RECT rect, TOwnerDrawState state)>;
// A key pressed in the control; a handler that sets `key` to 0 keeps it from the control.
using TKeyEvent = std::function<void(TObject*, WORD& key, TShiftState shift)>;

// The list box's drawing surface: the device context of the row being drawn.
class TListBoxCanvas : public TCanvas {
protected:
    HDC AcquireDC() override { return DrawDC; }

private:
    friend class TListBox;
    HDC DrawDC = nullptr;
};

class TListBoxItems {
public:
    explicit TListBoxItems(TListBox& owner) : FOwner(owner) {}
    int Count() const { return static_cast<int>(FTexts.size()); }
    const std::string& operator[](int index) const { return FTexts.at(static_cast<size_t>(index)); }
    void* Objects(int index) const { return FObjects.at(static_cast<size_t>(index)); }
    // Where the row went (its sorted place in a sorted list, else the end).
    int Add(const std::string& text) { return AddObject(text, nullptr); }
    int AddObject(const std::string& text, void* object);
    // At that place even in a sorted list; an index outside 0..Count adds at the end.
    void Insert(int index, const std::string& text);
    void Delete(int index);
    // Also clears the selection.
    void Clear();

private:
    friend class TListBox;
    void Put(int index, const std::string& text, void* object);
    TListBox& FOwner;
    std::vector<std::string> FTexts;
    std::vector<void*> FObjects;
};

class TListBox : public TWinControl {
public:
    explicit TListBox(TComponent* owner);

    TListBoxItems Items;
    // Settled before the window is made.
    bool Sorted = false;
    int ItemHeight = 13;
    TListBoxCanvas Canvas;

    // The selected row, -1 for none; an index outside the list selects none.
    int ItemIndex() const;
    void SetItemIndex(int index);

    // After the user changed the selection, by mouse or keyboard.
    TNotifyEvent OnClick;
    TDrawItemEvent OnDrawItem;
    TKeyEvent OnKeyDown;

    void Dispatch(TMessage& message) override;

protected:
    void CreateParams(DWORD& style, DWORD& exStyle, HWND& parent) override;
    const char* SystemClass() const override { return "LISTBOX"; }
    void CreateHandle() override;

private:
    friend class TListBoxItems;
    void DrawItem(const DRAWITEMSTRUCT& item);
    int FItemIndex = -1;
};
