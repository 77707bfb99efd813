#pragma once
// The collapse state that each item-group frame carries at its end: whether it is folded
// to its header strip, and how many one-pixel steps its unfolding takes.
struct TExFrame {
    bool Collapsed = true;
    int ExpandHeight = 0;
};
