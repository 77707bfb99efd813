#include "MyRndRectBtn.h"

void TMyRndRectBtn::SetImageNumberOn(int n)
{
    FImageNumberOn = n;
    RefreshBitmaps();
    RePaintBmp();
}

void TMyRndRectBtn::SetImageNumberOff(int n)
{
    FImageNumberOff = n;
    RefreshBitmaps();
    RePaintBmp();
}

void TMyRndRectBtn::SetCaption(const std::string& text)
{
    FCaption = text;
    RefreshCaption();
}

void TMyRndRectBtn::SetImageList(TImageList* list)
{
    FImageList = list;
    RefreshBitmaps();
    Paint();
}

void TMyRndRectBtn::SetDown(bool value)
{
    FDown = value;
    RePaintBmp();
}

void TMyRndRectBtn::SetColorBG(TColor color)
{
    Color = color;
    FCaptionPicture.Canvas().Brush.Color = color;
    RefreshCaption();
}

void TMyRndRectBtn::RefreshBitmaps()
{
    if (!FImageList)
        return;
    if (FImageNumberOff > 0)
        FImageList->GetBitmap(FImageNumberOff - 1, FOffPicture);
    if (FImageNumberOn > 0)
        FImageList->GetBitmap(FImageNumberOn - 1, FOnPicture);
}

void TMyRndRectBtn::RePaintBmp()
{
    Canvas.Draw(0, 0, FDown ? FOnPicture : FOffPicture);
}

void TMyRndRectBtn::DupConstructor()
{
    if (FCaption.empty()) {
        Color = clWhite;
        ColorFontOnOver = clBlue;
    }
    FFirstPaint = false;
}

void TMyRndRectBtn::RefreshCaption()
{
    if (FCaption.empty())
        return;
    TCanvas& c = FCaptionPicture.Canvas();
    int picture = FImageList ? FImageList->Width() : 0;
    int width = c.TextWidth(FCaption) + (FImageList ? 12 : 4);
    SetWidth(width + picture);
    FCaptionPicture.SetSize(width, Height());
    c.FillRect(Rect(0, 0, width, Height()));
    // Height in the button's own font: the text sits centred in what it draws.
    c.TextOut(FImageList ? 10 : 2, (Height() - c.TextHeight(FCaption)) / 2, FCaption);
    Canvas.Draw(picture, 0, FCaptionPicture);
}

void TMyRndRectBtn::Paint()
{
    FCaptionPicture.Canvas().Font = Font;
    FLeaveColor = Font.Color;
    if (FFirstPaint)
        DupConstructor();
    RefreshCaption();
    RePaintBmp();
}

void TMyRndRectBtn::MouseDown(TMouseButton, TShiftState, int, int)
{
    SetDown(!FDown);
    if (OnClick)
        OnClick(this);
}

void TMyRndRectBtn::CMMouseEnter()
{
    FCaptionPicture.Canvas().Font.Color = ColorFontOnOver;
    RefreshCaption();
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TMyRndRectBtn::CMMouseLeave()
{
    FCaptionPicture.Canvas().Font.Color = FLeaveColor;
    RefreshCaption();
    if (OnMouseLeave)
        OnMouseLeave(this);
}

void TMyRndRectBtn::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case CM_MOUSEENTER:
        CMMouseEnter();
        break;
    case CM_MOUSELEAVE:
        CMMouseLeave();
        break;
    default:
        TGraphicControl::Dispatch(message);
    }
}
