#pragma once
// A picture on a form, drawn as it is or stretched over the control; its mouse events are
// the base control's.
#include "TBitmap.h"
#include "TGraphicControl.h"

class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* owner) : TGraphicControl(owner) {}
    void Paint() override;

    TBitmap Picture;
    bool Stretch = false;
};
