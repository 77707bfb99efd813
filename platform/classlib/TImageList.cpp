#include "TImageList.h"

bool TImageList::LoadFromResourceName(const std::string& name)
{
    return FStrip.LoadFromResourceName(GetModuleHandleA(nullptr), name);
}

void TImageList::GetBitmap(int index, TBitmap& bitmap)
{
    if (index < 0 || index >= Count())
        return;
    bitmap.SetSize(FWidth, FHeight);
    BitBlt(bitmap.Canvas().DC(), 0, 0, FWidth, FHeight, FStrip.Canvas().DC(), index * FWidth, 0, SRCCOPY);
}
