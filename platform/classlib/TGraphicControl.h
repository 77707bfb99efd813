#pragma once
// A control without a window of its own: it paints on its parent's surface, through a
// canvas whose origin is the control's top-left corner and whose drawing stays inside it.
#include "TCanvas.h"
#include "TControl.h"

class TGraphicControl;

class TControlCanvas : public TCanvas {
public:
    explicit TControlCanvas(TGraphicControl& control) : Control(control) {}

protected:
    // During the parent's paint: its paint DC. Otherwise the window's DC, but only on the
    // window's own thread; elsewhere nothing is drawn.
    HDC AcquireDC() override;
    void ReleaseDC(HDC dc) override;

private:
    friend class TWinControl;
    TGraphicControl& Control;
    HDC PaintDC = nullptr;
};

class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* owner) : TControl(owner), Canvas(*this) {}
    virtual void Paint() {}
    // True on the thread that owns the parent window (where drawing is allowed).
    bool OnWindowThread() const;

    TControlCanvas Canvas;
};
