#include "WindowDragger.h"

#include "TForm.h"
#include "TScreen.h"

void TWindowDragger::MouseDown(TForm& form, TMouseButton button)
{
    if (button == mbLeft)
        FDragging = true;
    POINT p = Mouse->CursorPos();
    FOffsetX = p.x - form.Left();
    FOffsetY = p.y - form.Top();
}

void TWindowDragger::MouseMove(TForm& form)
{
    if (!FDragging)
        return;
    POINT p = Mouse->CursorPos();
    form.SetBounds(p.x - FOffsetX, p.y - FOffsetY, form.Width(), form.Height());
}

void TWindowDragger::MouseUp(TForm& form)
{
    if (!FDragging)
        return;
    POINT p = Clamped(form.Left(), form.Top(), form.Width(), form.Height(), Screen->Width(), Screen->Height());
    form.SetBounds(p.x, p.y, form.Width(), form.Height());
    FDragging = false;
}

POINT TWindowDragger::Clamped(int left, int top, int width, int height, int screenWidth, int screenHeight)
{
    if (screenWidth - width < left)
        left = screenWidth - width;
    if (left < 0)
        left = 3;
    if (top < 0)
        top = 2;
    if (screenHeight - height < top)
        top = screenHeight - height;
    return {left, top};
}
