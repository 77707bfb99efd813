#include "TImageList.h"

TImageList::~TImageList()
{
    if (FHandle)
        ImageList_Destroy(FHandle);
}

bool TImageList::LoadFromResourceName(const std::string& name)
{
    if (FHandle)
        ImageList_Destroy(FHandle);
    FHandle = nullptr;
    return FStrip.LoadFromResourceName(GetModuleHandleA(nullptr), name);
}

void TImageList::Assign(TBitmap& strip)
{
    if (FHandle)
        ImageList_Destroy(FHandle);
    FHandle = nullptr;
    FStrip.Assign(strip);
}

void TImageList::GetBitmap(int index, TBitmap& bitmap)
{
    if (index < 0 || index >= Count())
        return;
    bitmap.SetSize(FWidth, FHeight);
    BitBlt(bitmap.Canvas().DC(), 0, 0, FWidth, FHeight, FStrip.Canvas().DC(), index * FWidth, 0, SRCCOPY);
}

HIMAGELIST TImageList::Handle()
{
    if (FHandle || Count() == 0)
        return FHandle;
    FHandle = ImageList_Create(FWidth, FHeight, ILC_COLOR24 | ILC_MASK, Count(), 0);
    // The strip stays selected into its own drawing surface, so the list gets a copy.
    HDC screen = GetDC(nullptr);
    HBITMAP copy = CreateCompatibleBitmap(screen, FStrip.Width(), FStrip.Height());
    ReleaseDC(nullptr, screen);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, copy);
    BitBlt(dc, 0, 0, FStrip.Width(), FStrip.Height(), FStrip.Canvas().DC(), 0, 0, SRCCOPY);
    SelectObject(dc, old);
    DeleteDC(dc);
    ImageList_AddMasked(FHandle, copy, TransparentColor());
    DeleteObject(copy);
    return FHandle;
}

HICON TImageList::GetIcon(int index)
{
    if (index < 0 || index >= Count() || !Handle())
        return nullptr;
    return ImageList_GetIcon(FHandle, index, ILD_NORMAL);
}

void TImageList::Draw(HDC dc, int x, int y, int index)
{
    if (index >= 0 && index < Count() && Handle())
        ImageList_Draw(FHandle, index, dc, x, y, ILD_TRANSPARENT);
}
