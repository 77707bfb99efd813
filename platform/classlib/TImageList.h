#pragma once
// Equal-sized pictures cut from one horizontal strip, numbered from 0 from the left.
#include "TBitmap.h"
#include "TComponent.h"

#include <string>

class TImageList : public TComponent {
public:
    TImageList(TComponent* owner, int width, int height) : TComponent(owner), FWidth(width), FHeight(height) {}

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int Count() const { return FWidth > 0 ? FStrip.Width() / FWidth : 0; }

    // Takes the pictures from a BITMAP resource of the program; false when there is none.
    bool LoadFromResourceName(const std::string& name);
    // Copies picture `index` into the bitmap, which takes the pictures' size; an index out
    // of range leaves the bitmap as it was.
    void GetBitmap(int index, TBitmap& bitmap);

private:
    int FWidth;
    int FHeight;
    TBitmap FStrip;
};
