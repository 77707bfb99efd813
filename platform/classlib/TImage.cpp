#include "TImage.h"

void TImage::Paint()
{
    if (Stretch)
        Canvas.StretchDraw(Rect(0, 0, Width(), Height()), Picture);
    else
        Canvas.Draw(0, 0, Picture);
}
