#include "THintWindow.h"

#include "TApplication.h"

HDC THintCanvas::AcquireDC()
{
    if (PaintDC)
        return PaintDC;
    DCWindow = Window.HandleAllocated() ? Window.Handle() : nullptr;
    return GetDC(DCWindow);
}

void THintCanvas::ReleaseDC(HDC dc)
{
    if (dc != PaintDC)
        ::ReleaseDC(DCWindow, dc);
}

THintWindow::THintWindow(TComponent* owner) : TWinControl(owner), Canvas(*this)
{
    FVisible = false;
    Color = Application->HintColor;
    Canvas.Brush.Color = Color;
}

void THintWindow::CreateParams(DWORD& style, DWORD& exStyle, HWND& parent)
{
    style = WS_POPUP;
    exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    auto* ownerWindow = dynamic_cast<TWinControl*>(Owner());
    parent = ownerWindow ? ownerWindow->Handle() : Application->Handle();
}

RECT THintWindow::CalcHintRect(const std::string& text)
{
    return {0, 0, Canvas.TextWidth(text) + 6, Canvas.TextHeight(text) + 4};
}

void THintWindow::ActivateHint(const RECT& r, const std::string& text)
{
    FCaption = text;
    SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    FVisible = true;
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    Invalidate();
    Update();
}

void THintWindow::PaintWindow(HDC dc, const RECT& area)
{
    TWinControl::PaintWindow(dc, area);
    RECT all = {0, 0, Width(), Height()};
    FrameRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    Canvas.PaintDC = dc;
    Canvas.TextOut(3, 2, FCaption);
    Canvas.PaintDC = nullptr;
}
