#pragma once
// The skinned scroll bar: two arrows, a tiled track and a slider, all taken from an image
// list. It moves nothing itself. It keeps a scroll position that runs from the bar's own
// Top (start) down to Top - SControlWH (end) and fires OnChanged whenever that may have
// changed; the owner places its content at SControlPosition() - Top().
#include "TBitmap.h"
#include "TGraphicControl.h"
#include "TImageList.h"
#include "TTimer.h"

#include <windows.h>

#include <cstdint>

class TStretchScroll : public TGraphicControl {
public:
    // Scoped to the class: other skinned controls have a style enum of their own.
    enum TScrollStyle : uint8_t { ssHoriz = 0, ssVert = 1 };
    // What a held mouse button does.
    enum TScrollMode : uint8_t {
        smFirstArrow = 0,
        smSecondArrow = 1,
        smTrackBefore = 2,   // the track between the first arrow and the slider
        smTrackAfter = 3,    // the track between the slider and the second arrow
        smDrag = 4,
        smIdle = 5,
    };

    explicit TStretchScroll(TComponent* owner);

    TNotifyEvent OnChanged;

    TScrollStyle Style() const { return FStyle; }
    void SetStyle(TScrollStyle value);
    int SliderLen() const { return FSliderLen; }
    void SetSliderLen(int value) { FSliderLen = value; }
    int SliderPosition() const { return FSliderPosition; }
    void SetSliderPosition(int value);
    TImageList* ImageList() const { return FImageList; }
    void SetImageList(TImageList* value);
    int SControlStep() const { return FStep; }
    void SetSControlStep(int value) { FStep = value; }
    int SControlLargeStep() const { return FLargeStep; }
    void SetSControlLargeStep(int value) { FLargeStep = value; }
    int SControlPosition() const { return FPosition; }
    void SetControlPosition(int value);
    int SControlWH() const { return FRange; }
    void SetControlWH(int range);

    // One step as the mouse wheel and the paging keys ask for it; nothing while hidden.
    void StepUp();
    void StepDown();
    void StepLUp();
    void StepLDown();
    // Home and End; nothing while hidden.
    void MoveTop();
    void MoveBottom();
    // One repeat step in the current mode (the timer's tick).
    void TimerTick();

    TScrollMode Mode() const { return FMode; }
    bool Repeating() const { return FTimer.Enabled(); }

    void SetBounds(int left, int top, int width, int height) override;
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseCaptureLost() override;

private:
    // Builds the bar without the slider into FComposed and places the arrows.
    void ReChangeAll();
    void PlaceArrows();
    void PlaceSlider();
    void StepIn(TScrollMode mode);
    void StopRepeat();
    void Changed();

    // The bar's extent along its axis and across it (for the vertical bar H and W).
    int Length() const { return FStyle == ssVert ? Height() : Width(); }
    int Thickness() const { return FStyle == ssVert ? Width() : Height(); }
    // Pixels the slider can travel: Length - 3 x Thickness, the divisor of the formulas.
    int Travel() const;
    bool CanScroll() const { return FRange > 0 && Travel() > 0; }
    int SliderForPosition() const;
    int PositionForSlider() const;
    // Where a bar that cannot scroll stays; true when that moved it.
    bool PinToStart();

    RECT FSliderRect = {};
    RECT FFirstArrowRect = {};
    RECT FSecondArrowRect = {};
    int32_t FSliderLen = 0;
    int32_t FSliderPosition = 0;
    int32_t FStep = 0;
    int32_t FLargeStep = 0;
    int32_t FPosition = 0;
    int32_t FRange = 0;
    TImageList* FImageList = nullptr;   // not owned
    TBitmap FComposed;
    TBitmap FSliderPicture;
    TTimer FTimer;
    TScrollStyle FStyle = ssHoriz;
    TScrollMode FMode = smIdle;
};
