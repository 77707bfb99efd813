#pragma once
// Dragging a borderless skinned window by its picture with the left button. On release the
// window is put back on the screen: right edge, then left, top and bottom, in that order.
#include "TControl.h"

class TForm;

class TWindowDragger {
public:
    void MouseDown(TForm& form, TMouseButton button);
    void MouseMove(TForm& form);
    void MouseUp(TForm& form);
    bool Dragging() const { return FDragging; }

    // The window's place after the clamp, for a window of that size on that screen.
    static POINT Clamped(int left, int top, int width, int height, int screenWidth, int screenHeight);

private:
    bool FDragging = false;
    int FOffsetX = 0;
    int FOffsetY = 0;
};
