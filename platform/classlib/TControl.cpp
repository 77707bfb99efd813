#include "TControl.h"

#include "TWinControl.h"

TControl::~TControl()
{
    if (FParent)
        FParent->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent)
{
    if (parent == FParent)
        return;
    if (FParent) {
        Invalidate();
        FParent->RemoveControl(this);
    }
    FParent = parent;
    if (FParent) {
        FParent->InsertControl(this);
        Invalidate();
    }
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight)
        return;
    Invalidate();
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    Invalidate();
}

void TControl::SetVisible(bool value)
{
    if (value == FVisible)
        return;
    FVisible = value;
    if (FParent)
        FParent->InvalidateArea(BoundsRect());
}

void TControl::Invalidate()
{
    if (FParent && FVisible)
        FParent->InvalidateArea(BoundsRect());
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam)
{
    TMessage m = {msg, wParam, lParam, 0};
    Dispatch(m);
    return m.Result;
}

void TControl::Dispatch(TMessage&) {}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseDown)
        OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y)
{
    if (OnMouseMove)
        OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseUp)
        OnMouseUp(this, button, shift, x, y);
}

void TControl::Click()
{
    if (OnClick)
        OnClick(this);
}

void TControl::DblClick()
{
    if (OnDblClick)
        OnDblClick(this);
}
