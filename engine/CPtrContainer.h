#pragma once
// The main window's index of its option controls. The cleaners walk their group's list
// during a run; the settings store keeps one byte per control of the lists in list order,
// so the orders are part of the stored settings.
#include <cstdlib>
#include <new>

class TMyRndRectBtn;
class TMyGraphicBtn;
class TMyGraphicLabel;
class TComboBox;
class TFrame;
struct TExFrame;

// A growable array of pointers that grows by one element per append and frees only its
// array, never what the elements point to (the window's component tree owns that).
template <class T>
class CPoorVector {
public:
    CPoorVector() = default;
    ~CPoorVector() { std::free(Items); }
    CPoorVector(const CPoorVector&) = delete;
    CPoorVector& operator=(const CPoorVector&) = delete;

    void Resize(int n)
    {
        if (n <= 0) {
            std::free(Items);
            Items = nullptr;
            Count = 0;
            return;
        }
        void* grown = std::realloc(Items, sizeof(T) * static_cast<size_t>(n));
        if (!grown)
            throw std::bad_alloc();
        Items = static_cast<T*>(grown);
        Count = n;
    }
    void Add(T item)
    {
        Resize(Count + 1);
        Items[Count - 1] = item;
    }
    T operator[](int index) const { return Items[index]; }

    T* Items = nullptr;
    int Count = 0;
};

class CPtrContainer {
public:
    CPoorVector<TMyRndRectBtn*> IEItems;          // 0: Internet Explorer group (16)
    CPoorVector<TMyRndRectBtn*> WinItems;         // 1: Windows group (13)
    CPoorVector<TMyRndRectBtn*> NetItems;         // 2: Netscape 6 / Mozilla group (7)
    CPoorVector<TMyRndRectBtn*> SettingsButtons;  // 3: settings page (11)
    CPoorVector<TComboBox*> ComboBoxes;           // 4: interval, profile, language
    CPoorVector<TMyGraphicBtn*> WipeModes;        // 5: fastest, medium, slowest
    CPoorVector<TMyGraphicLabel*> LastClean;      // 6: the last-clean time label
    CPoorVector<TFrame*> Frames;                  // 7: frames in stacking order
    CPoorVector<TExFrame*> ExFrames;              // 8: collapse states of the three groups
};
