#pragma once
// A drop-down list the user picks from but cannot type into: the system's combo box.
// Items and the choice are kept here too, so that they hold before the window exists, and
// so that a worker thread reads the choice without sending the window a message.
#include "TWinControl.h"

#include <atomic>
#include <string>
#include <vector>

class TComboBox;

// The texts of the list; every change reaches the window at once.
class TComboBoxItems {
public:
    explicit TComboBoxItems(TComboBox& owner) : FOwner(owner) {}
    int Count() const { return static_cast<int>(FItems.size()); }
    const std::string& operator[](int index) const { return FItems.at(static_cast<size_t>(index)); }
    void Add(const std::string& text);
    // Also clears the choice.
    void Clear();

private:
    friend class TComboBox;
    TComboBox& FOwner;
    std::vector<std::string> FItems;
};

class TComboBox : public TWinControl {
public:
    explicit TComboBox(TComponent* owner);

    TComboBoxItems Items;
    // The chosen item, -1 for none; an index outside the list chooses none.
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int index);
    // The chosen item's text, "" for none.
    std::string Text() const;
    // The list shows this many items before it scrolls.
    int DropDownCount = 8;
    // A key typed into the closed box opens its list, then chooses as it would anyway.
    bool AutoDropDown = false;

    // After the user's choice changed the chosen item.
    TNotifyEvent OnChange;
    // After the list closed, whether or not anything was chosen.
    TNotifyEvent OnCloseUp;

    void SetBounds(int left, int top, int width, int height) override;
    void Dispatch(TMessage& message) override;

protected:
    void CreateParams(DWORD& style, DWORD& exStyle, HWND& parent) override;
    const char* SystemClass() const override { return "COMBOBOX"; }
    void CreateHandle() override;

private:
    friend class TComboBoxItems;
    // The window's height with the list open, for `DropDownCount` items.
    int DroppedHeight();
    std::atomic<int> FItemIndex{-1};
};
