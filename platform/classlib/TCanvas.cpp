#include "TCanvas.h"

#include "TBitmap.h"

// Holds the device context for one drawing call, with the canvas font and colours chosen.
class TCanvas::TOperation {
public:
    explicit TOperation(TCanvas& c) : Canvas(c), DC(c.AcquireDC())
    {
        if (!DC)
            return;
        OldFont = SelectObject(DC, Canvas.Font.Handle());
        SetTextColor(DC, Canvas.Font.Color);
        SetBkColor(DC, Canvas.Brush.Color);
        SetBkMode(DC, Canvas.Brush.Style == bsClear ? TRANSPARENT : OPAQUE);
    }
    ~TOperation()
    {
        if (!DC)
            return;
        SelectObject(DC, OldFont);
        Canvas.ReleaseDC(DC);
    }
    TCanvas& Canvas;
    HDC DC;
    HGDIOBJ OldFont = nullptr;
};

void TCanvas::FillRect(const RECT& r)
{
    TOperation op(*this);
    if (!op.DC || Brush.Style == bsClear)
        return;
    HBRUSH b = CreateSolidBrush(Brush.Color);
    ::FillRect(op.DC, &r, b);
    DeleteObject(b);
}

void TCanvas::TextOut(int x, int y, const std::string& text)
{
    TOperation op(*this);
    if (op.DC)
        ::TextOutA(op.DC, x, y, text.c_str(), static_cast<int>(text.size()));
}

int TCanvas::TextWidth(const std::string& text)
{
    TOperation op(*this);
    SIZE s = {0, 0};
    if (op.DC)
        GetTextExtentPoint32A(op.DC, text.c_str(), static_cast<int>(text.size()), &s);
    return s.cx;
}

int TCanvas::TextHeight(const std::string& text)
{
    TOperation op(*this);
    SIZE s = {0, 0};
    if (op.DC)
        GetTextExtentPoint32A(op.DC, text.c_str(), static_cast<int>(text.size()), &s);
    return s.cy;
}

void TCanvas::MoveTo(int x, int y)
{
    FPenPos = {x, y};
}

void TCanvas::LineTo(int x, int y)
{
    TOperation op(*this);
    if (op.DC) {
        HPEN pen = CreatePen(PS_SOLID, Pen.Width, Pen.Color);
        HGDIOBJ old = SelectObject(op.DC, pen);
        MoveToEx(op.DC, FPenPos.x, FPenPos.y, nullptr);
        ::LineTo(op.DC, x, y);
        SelectObject(op.DC, old);
        DeleteObject(pen);
    }
    FPenPos = {x, y};
}

void TCanvas::Draw(int x, int y, TBitmap& bitmap)
{
    if (bitmap.Width() <= 0 || bitmap.Height() <= 0)
        return;
    TOperation op(*this);
    if (op.DC)
        BitBlt(op.DC, x, y, bitmap.Width(), bitmap.Height(), bitmap.Canvas().DC(), 0, 0, SRCCOPY);
}

void TCanvas::StretchDraw(const RECT& r, TBitmap& bitmap)
{
    if (bitmap.Width() <= 0 || bitmap.Height() <= 0)
        return;
    TOperation op(*this);
    if (!op.DC)
        return;
    SetStretchBltMode(op.DC, COLORONCOLOR);
    StretchBlt(op.DC, r.left, r.top, r.right - r.left, r.bottom - r.top, bitmap.Canvas().DC(), 0, 0,
               bitmap.Width(), bitmap.Height(), SRCCOPY);
}
