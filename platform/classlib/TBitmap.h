#pragma once
// An off-screen picture: a 32-bit top-down DIB section with a canvas of its own.
#include "TCanvas.h"

#include <windows.h>

#include <cstdint>
#include <string>

class TBitmap;

class TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap& owner) : Owner(owner) {}
    HDC DC();

protected:
    HDC AcquireDC() override { return DC(); }

private:
    TBitmap& Owner;
};

class TBitmap {
public:
    TBitmap() : FCanvas(*this) {}
    ~TBitmap();
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // A new size gives a new, white picture; the same size keeps the content.
    void SetSize(int width, int height);
    void SetWidth(int width) { SetSize(width, FHeight); }
    void SetHeight(int height) { SetSize(FWidth, height); }

    TBitmapCanvas& Canvas() { return FCanvas; }
    // The colour of one pixel; black outside the picture.
    TColor Pixel(int x, int y) const;
    // Copies a BITMAP resource of the module; false when there is none of that name.
    bool LoadFromResourceName(HINSTANCE module, const std::string& name);
    // The same size and content as the source.
    void Assign(TBitmap& source);

private:
    friend class TBitmapCanvas;
    void Release();

    TBitmapCanvas FCanvas;
    int FWidth = 0;
    int FHeight = 0;
    HDC FDC = nullptr;
    HBITMAP FHandle = nullptr;
    HGDIOBJ FOldBitmap = nullptr;
    uint32_t* FBits = nullptr;
};
