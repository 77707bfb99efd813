#include "TBitmap.h"

#include <algorithm>

HDC TBitmapCanvas::DC()
{
    if (!Owner.FDC)
        Owner.FDC = CreateCompatibleDC(nullptr);
    return Owner.FDC;
}

TBitmap::~TBitmap()
{
    Release();
    if (FDC)
        DeleteDC(FDC);
}

void TBitmap::Release()
{
    if (FHandle) {
        SelectObject(FDC, FOldBitmap);
        DeleteObject(FHandle);
    }
    FHandle = nullptr;
    FBits = nullptr;
    FWidth = FHeight = 0;
}

void TBitmap::SetSize(int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == FWidth && height == FHeight)
        return;
    HDC dc = FCanvas.DC();
    Release();
    if (width == 0 || height == 0) {
        FWidth = width;
        FHeight = height;
        return;
    }
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    FHandle = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!FHandle)
        return;
    FBits = static_cast<uint32_t*>(bits);
    FOldBitmap = SelectObject(dc, FHandle);
    FWidth = width;
    FHeight = height;
    std::fill(FBits, FBits + static_cast<size_t>(width) * height, 0x00FFFFFFu);
}

TColor TBitmap::Pixel(int x, int y) const
{
    if (!FBits || x < 0 || y < 0 || x >= FWidth || y >= FHeight)
        return clBlack;
    GdiFlush();
    uint32_t p = FBits[static_cast<size_t>(y) * FWidth + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

bool TBitmap::LoadFromResourceName(HINSTANCE module, const std::string& name)
{
    HBITMAP res = static_cast<HBITMAP>(LoadImageA(module, name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!res)
        return false;
    BITMAP bm = {};
    GetObject(res, sizeof bm, &bm);
    SetSize(bm.bmWidth, bm.bmHeight);
    HDC src = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(src, res);
    BitBlt(FCanvas.DC(), 0, 0, bm.bmWidth, bm.bmHeight, src, 0, 0, SRCCOPY);
    SelectObject(src, old);
    DeleteDC(src);
    DeleteObject(res);
    return true;
}

void TBitmap::Assign(TBitmap& source)
{
    if (&source == this)
        return;
    SetSize(source.Width(), source.Height());
    if (FHandle)
        BitBlt(FCanvas.DC(), 0, 0, FWidth, FHeight, source.Canvas().DC(), 0, 0, SRCCOPY);
}
