#pragma once
// Equal-sized pictures cut from one horizontal strip, numbered from 0 from the left. Where
// a picture is drawn over something else (an icon, a menu), the colour of the strip's
// bottom-left pixel is transparent.
#include "TBitmap.h"
#include "TComponent.h"

#include <commctrl.h>

#include <string>

class TImageList : public TComponent {
public:
    TImageList(TComponent* owner, int width, int height) : TComponent(owner), FWidth(width), FHeight(height) {}
    ~TImageList() override;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int Count() const { return FWidth > 0 ? FStrip.Width() / FWidth : 0; }

    // Takes the pictures from a BITMAP resource of the program; false when there is none.
    bool LoadFromResourceName(const std::string& name);
    // Takes the pictures from a strip drawn by the program.
    void Assign(TBitmap& strip);
    // Copies picture `index` into the bitmap, which takes the pictures' size; an index out
    // of range leaves the bitmap as it was.
    void GetBitmap(int index, TBitmap& bitmap);
    TColor TransparentColor() const { return FStrip.Pixel(0, FStrip.Height() - 1); }
    // A new icon of picture `index`, which the caller destroys; null out of range.
    HICON GetIcon(int index);
    // Draws picture `index` with its top-left corner at (x, y), leaving out what is
    // transparent; nothing out of range.
    void Draw(HDC dc, int x, int y, int index);

private:
    // The system's image list of the pictures with their mask, made on first use.
    HIMAGELIST Handle();

    int FWidth;
    int FHeight;
    TBitmap FStrip;
    HIMAGELIST FHandle = nullptr;
};
