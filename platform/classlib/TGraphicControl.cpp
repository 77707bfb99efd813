#include "TGraphicControl.h"

#include "TWinControl.h"

bool TGraphicControl::OnWindowThread() const
{
    return Parent() && Parent()->OnWindowThread();
}

HDC TControlCanvas::AcquireDC()
{
    if (PaintDC)
        return PaintDC;
    TWinControl* parent = Control.Parent();
    if (!parent || !Control.Visible() || !parent->HandleAllocated() || !parent->OnWindowThread())
        return nullptr;
    HDC dc = GetDC(parent->Handle());
    if (!dc)
        return nullptr;
    SetViewportOrgEx(dc, Control.Left(), Control.Top(), nullptr);
    IntersectClipRect(dc, 0, 0, Control.Width(), Control.Height());
    return dc;
}

void TControlCanvas::ReleaseDC(HDC dc)
{
    if (dc != PaintDC)
        ::ReleaseDC(Control.Parent()->Handle(), dc);
}
