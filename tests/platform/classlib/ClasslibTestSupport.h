#pragma once
// What the window library's tests share: checking that a picture of an image list was drawn with its transparent colour left out.
#include "TApplication.h"
#include "TBitmap.h"
#include "TImageList.h"
#include "TestSupport.h"

namespace testing_support {

// Pixels at (x, y) of the drawing that do not show picture `index` of the list over the
// background colour (the background where the picture is transparent).
inline int PictureMismatches(TBitmap& drawn, int x, int y, TImageList& list, int index, TColor background)
{
    TBitmap picture;
    list.GetBitmap(index, picture);
    int wrong = 0;
    for (int py = 0; py < picture.Height(); ++py)
        for (int px = 0; px < picture.Width(); ++px) {
            TColor want = picture.Pixel(px, py);
            wrong += drawn.Pixel(x + px, y + py) != (want == list.TransparentColor() ? background : want);
        }
    return wrong;
}

}  // namespace testing_support
