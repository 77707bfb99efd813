#include "Regionmaker.h"

#include "TForm.h"

namespace {

// Holds a region object until the window takes it, so that no path leaks one.
class Region {
public:
    explicit Region(HRGN rgn) : FRgn(rgn) {}
    ~Region()
    {
        if (FRgn)
            DeleteObject(FRgn);
    }
    Region(const Region&) = delete;
    Region& operator=(const Region&) = delete;

    explicit operator bool() const { return FRgn != nullptr; }
    HRGN Get() const { return FRgn; }
    HRGN Release()
    {
        HRGN r = FRgn;
        FRgn = nullptr;
        return r;
    }

private:
    HRGN FRgn;
};

HRGN ClientRegion(HWND wnd)
{
    RECT c;
    if (!GetClientRect(wnd, &c))
        return nullptr;
    return CreateRectRgnIndirect(&c);
}

// The outline as the window has it now. A window without a region (or with an empty one,
// which only a broken earlier cut could leave) starts from its client rectangle: cutting
// from nothing would make the window vanish.
HRGN CurrentOutline(HWND wnd)
{
    Region outline(CreateRectRgn(0, 0, 0, 0));
    if (!outline)
        return nullptr;
    int kind = GetWindowRgn(wnd, outline.Get());
    if (kind == ERROR || kind == NULLREGION)
        return ClientRegion(wnd);
    return outline.Release();
}

// Cuts piece out of outline and gives the result to the window. Once SetWindowRgn has
// succeeded the system owns the region; on any failure it is still ours to free.
bool Install(HWND wnd, Region& outline, const Region& piece)
{
    if (!outline || !piece)
        return false;
    if (CombineRgn(outline.Get(), outline.Get(), piece.Get(), RGN_DIFF) == ERROR)
        return false;
    if (!SetWindowRgn(wnd, outline.Get(), TRUE))
        return false;
    outline.Release();
    return true;
}

}  // namespace

RECT CornerQuarter(const RECT& box, int corner)
{
    const LONG midX = box.left + (box.right - box.left) / 2;
    const LONG midY = box.top + (box.bottom - box.top) / 2;
    const bool right = corner == CornerTopRight || corner == CornerBottomRight;
    const bool bottom = corner == CornerBottomRight || corner == CornerBottomLeft;
    RECT q;
    q.left = right ? midX : box.left;
    q.right = right ? box.right : midX;
    q.top = bottom ? midY : box.top;
    q.bottom = bottom ? box.bottom : midY;
    return q;
}

bool TRegionMaker::CutCorner(TForm& form, const RECT& box, int corner)
{
    if (corner < CornerTopLeft || corner > CornerBottomLeft)
        return false;
    const RECT q = CornerQuarter(box, corner);
    // The piece of the corner outside the curve: quarter minus the inscribed ellipse.
    Region piece(CreateRectRgnIndirect(&q));
    Region ellipse(CreateEllipticRgnIndirect(&box));
    if (!piece || !ellipse || CombineRgn(piece.Get(), piece.Get(), ellipse.Get(), RGN_DIFF) == ERROR)
        return false;

    HWND wnd = form.Handle();
    Region outline(FFirstCut ? ClientRegion(wnd) : CurrentOutline(wnd));
    if (!Install(wnd, outline, piece))
        return false;
    // Only a cut that took hold ends the first one: after a failure the next cut must still
    // replace whatever outline the window had before this object began.
    FFirstCut = false;
    return true;
}

bool TRegionMaker::CutPolygon(TForm& form, const POINT* points, int count)
{
    if (!points || count < 3)
        return false;
    Region polygon(CreatePolygonRgn(points, count, ALTERNATE));
    if (!polygon)
        return false;
    HWND wnd = form.Handle();
    Region outline(CurrentOutline(wnd));
    return Install(wnd, outline, polygon);
}
