#include "MyGraphicBtn.h"

#include "TWinControl.h"

void TMyGraphicBtn::SetImageList(TImageList* list)
{
    FImageList = list;
    Paint();
}

void TMyGraphicBtn::SetImageNumberOn(int n)
{
    FImageNumberOn = n;
    ReChangeAll();
    Paint();
}

void TMyGraphicBtn::SetImageNumberOff(int n)
{
    FImageNumberOff = n;
    ReChangeAll();
    Paint();
}

void TMyGraphicBtn::SetDown(bool value)
{
    if (Style != ssDownMode && Style != ssPicture)
        return;
    FDown = value;
    Show(value);
}

void TMyGraphicBtn::ReChangeAll()
{
    // A state without a picture shows an empty one, whatever was shown before.
    for (TBitmap* b : {&FOnPicture, &FOffPicture}) {
        b->SetSize(Width(), Height());
        b->Canvas().Brush.Color = clWhite;
        b->Canvas().FillRect(Rect(0, 0, Width(), Height()));
    }
    if (!FImageList)
        return;
    if (FImageNumberOff > 0)
        FImageList->GetBitmap(FImageNumberOff - 1, FOffPicture);
    if (FImageNumberOn > 0)
        FImageList->GetBitmap(FImageNumberOn - 1, FOnPicture);
}

void TMyGraphicBtn::Paint()
{
    ReChangeAll();
    Canvas.Draw(0, 0, FShowingOn ? FOnPicture : FOffPicture);
}

void TMyGraphicBtn::Show(bool on)
{
    FShowingOn = on;
    Paint();
}

void TMyGraphicBtn::Clicked()
{
    if (OnClick)
        OnClick(this);
}

void TMyGraphicBtn::MouseDown(TMouseButton button, TShiftState, int, int)
{
    if (button != mbLeft)
        return;
    FPressed = true;
    if (Style == ssSimple) {
        Show(true);
    } else if (Style == ssDownMode && !FShowingOn) {
        FDown = true;
        Show(true);
        Clicked();
    }
}

void TMyGraphicBtn::MouseUp(TMouseButton button, TShiftState, int, int)
{
    if (button != mbLeft || !FPressed)
        return;
    FPressed = false;
    if (Style == ssSimple)
        Show(false);
    if (Style != ssDownMode)
        Clicked();
}

void TMyGraphicBtn::MouseCaptureLost()
{
    FPressed = false;
    if ((Style == ssSimple || Style == ssOnOver) && FShowingOn)
        Show(false);
}

void TMyGraphicBtn::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case CM_MOUSEENTER:
        if (Style == ssOnOver)
            Show(true);
        if (OnMouseEnter)
            OnMouseEnter(this);
        break;
    case CM_MOUSELEAVE:
        if (Style == ssOnOver)
            Show(false);
        if (OnMouseLeave)
            OnMouseLeave(this);
        break;
    default:
        TGraphicControl::Dispatch(message);
    }
}

TMyGraphicBtn* MakePictureButton(TWinControl* parent, const char* name, int left, int top, int width, int height,
                                 ssStyle style, TImageList* list, int off, int on)
{
    auto* b = new TMyGraphicBtn(parent);
    b->Name = name;
    b->SetBounds(left, top, width, height);
    b->Style = style;
    b->Cursor = crHandPoint;
    b->SetParent(parent);
    b->SetImageList(list);
    b->SetImageNumberOff(off);
    b->SetImageNumberOn(on);
    return b;
}
