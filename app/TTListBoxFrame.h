#pragma once
// The scrolled list of the cookie, report and certificate windows: a frame that clips a
// list box which is always as tall as all its rows, so that the list box never scrolls by
// itself; a skinned scroll bar beside the frame moves it up and down inside the frame.
#include "StretchScroll.h"
#include "TFrame.h"
#include "TListBox.h"

class TTListBoxFrame : public TFrame {
public:
    explicit TTListBoxFrame(TComponent* owner);

    TListBox* ListBox1;

    // The list box made as tall as its rows, and the bar's range following it.
    void FitRows(TStretchScroll* bar);
    // The bar's range for the list box's present height (hidden when there is nothing to
    // scroll, which scrolls back to the start).
    void UpdateScrollRange(TStretchScroll* bar);
    // The list box at the bar's position: the bar's handler.
    void FollowBar(TStretchScroll* bar);
    // At most one row's step each way, so that the selected row comes into view.
    void KeepSelectionInView(TStretchScroll* bar);
    // Home, End, Page Down and Page Up scroll the bar; the list moves its selection too.
    static void ScrollKey(TStretchScroll* bar, WORD key);
};
