#pragma once
// Every modal loop the program is in, outermost first: each form's ShowModal and each
// message box. A close asked for while one runs ends the innermost as its Cancel would, then
// each outer one as control comes back to it, and reaches its window only once the
// outermost has returned: freed inside a loop, a window would be used again by the code
// that goes on after that loop.
#include "TControl.h"

#include <windows.h>

#include <vector>

class TForm;

class TModalLoops {
public:
    // One loop, recorded for as long as it lives; loops nest, so they end in reverse order.
    class TLoop {
    public:
        // A form's ShowModal: its Cancel is the result mrCancel.
        explicit TLoop(TForm& form);
        // A message box with these MB_ flags: its Cancel is the button that Cancel, Esc or
        // No would give (OK when that is its only one). The box is found as it is made.
        explicit TLoop(UINT boxFlags);
        ~TLoop();
        TLoop(const TLoop&) = delete;
        TLoop& operator=(const TLoop&) = delete;
        // A close was already waiting as the loop began: a box is then not shown, and a
        // form's loop starts ended.
        bool EndedAtStart() const { return FEndedAtStart; }
        int BoxCancel() const { return FBoxCancel; }

    private:
        bool FEndedAtStart = false;
        int FBoxCancel = IDCANCEL;
        HHOOK FHook = nullptr;
    };

    int Count() const { return static_cast<int>(FLoops.size()); }
    // A close of that window asked for while a loop runs: ends the innermost loop and
    // returns true; the window is sent WM_CLOSE once the outermost loop has returned. False,
    // with nothing done, while no loop runs. A menu or move mode of the thread ends first;
    // each later close asks again.
    bool CloseAfterLoops(HWND window);
    // A close waits for the loops to end.
    bool CloseWaiting() const { return FCloseWindow != nullptr; }
    // After a loop began (its owner disabled) and after one ended (its owner given back).
    TNotifyEvent OnChange;

private:
    struct TEntry {
        TForm* Form;
        HWND Box;
        int Cancel;
        bool EndWhenMade;
    };
    void Begin(const TEntry& entry);
    void End();
    void EndInnermost();
    static LRESULT CALLBACK BoxMade(int code, WPARAM wParam, LPARAM lParam);
    std::vector<TEntry> FLoops;
    HWND FCloseWindow = nullptr;
};

extern TModalLoops* ModalLoops;
