#pragma once
// A page of controls inside a form or another frame: a child window that owns the
// components made on it, in the order they were made (the order of their declarations),
// and that moves, resizes, shows and hides as one piece. A click on its bare surface is its
// OnClick.
#include "TWinControl.h"

class TFrame : public TWinControl {
public:
    explicit TFrame(TComponent* owner) : TWinControl(owner) {}
};
