#include "StretchScroll.h"

#include <algorithm>
#include <limits>

namespace {

// The bar's arithmetic is 32-bit: a product that overflows wraps as the machine's 32-bit
// multiply does, and a quotient truncates toward zero. Going through unsigned keeps the
// wrap defined; the divisors are always positive, so no quotient can overflow.
int32_t Add32(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

int32_t Sub32(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

int32_t Mul32(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

}  // namespace

TStretchScroll::TStretchScroll(TComponent* owner) : TGraphicControl(owner), FTimer(nullptr)
{
    FTimer.SetEnabled(false);
    FTimer.SetInterval(100);
    FTimer.SetOnTimer([this](TObject*) { TimerTick(); });
}

void TStretchScroll::SetBounds(int left, int top, int width, int height)
{
    TGraphicControl::SetBounds(left, top, width, height);
    // Hit tests and the slider's clamp read the arrows: they follow the size at once, not
    // only at the next paint.
    PlaceArrows();
    PlaceSlider();
}

void TStretchScroll::SetStyle(TScrollStyle value)
{
    if (value == FStyle)
        return;
    FStyle = value;
    Paint();
}

void TStretchScroll::SetImageList(TImageList* value)
{
    FImageList = value;
    Paint();
}

void TStretchScroll::SetSliderPosition(int value)
{
    if (FStyle == ssVert) {
        if (value < FFirstArrowRect.bottom)
            value = FFirstArrowRect.bottom;
        else if (value > FSecondArrowRect.top - FSliderPicture.Height())
            value = FSecondArrowRect.top - FSliderPicture.Height();
    } else {
        if (value < FFirstArrowRect.right)
            value = FFirstArrowRect.right;
        else if (value > FSecondArrowRect.left - FSliderPicture.Width())
            value = FSecondArrowRect.left - FSliderPicture.Width();
    }
    FSliderPosition = value;
    PlaceSlider();
}

void TStretchScroll::SetControlPosition(int value)
{
    // A range of 0 or less leaves only the start.
    int64_t end = static_cast<int64_t>(Top()) - std::max(FRange, 0);
    int64_t v = value;
    if (v < end)
        v = end;
    else if (v > Top())
        v = Top();
    FPosition = static_cast<int32_t>(v);
}

void TStretchScroll::SetControlWH(int range)
{
    FRange = range;
    if (range > 0) {
        if (Travel() > 0) {
            SetSliderPosition(SliderForPosition());
            SetControlPosition(PositionForSlider());
        } else {
            PinToStart();
        }
        SetVisible(true);
        Paint();
    } else {
        // A hold in progress has nothing left to scroll.
        StopRepeat();
        PinToStart();
        SetVisible(false);
    }
    // Fired even when hiding: the owner moves its content back to the start.
    Changed();
}

void TStretchScroll::StepUp()
{
    StepIn(smFirstArrow);
}

void TStretchScroll::StepDown()
{
    StepIn(smSecondArrow);
}

void TStretchScroll::StepLUp()
{
    StepIn(smTrackBefore);
}

void TStretchScroll::StepLDown()
{
    StepIn(smTrackAfter);
}

void TStretchScroll::StepIn(TScrollMode mode)
{
    if (!Visible())
        return;
    FMode = mode;
    TimerTick();
    FMode = smIdle;
}

// A bar that cannot scroll has no end to move to; its tick keeps it at the start.
void TStretchScroll::MoveTop()
{
    if (!Visible())
        return;
    if (CanScroll())
        SetControlPosition(Top());
    TimerTick();
}

void TStretchScroll::MoveBottom()
{
    if (!Visible())
        return;
    // The clamp takes the lowest value to the end of the range.
    if (CanScroll())
        SetControlPosition(std::numeric_limits<int32_t>::min());
    TimerTick();
}

void TStretchScroll::TimerTick()
{
    if (!CanScroll()) {
        // Nothing to step through: a hold ends here instead of ticking on.
        FTimer.SetEnabled(false);
        if (FMode != smDrag)
            FMode = smIdle;
        if (FRange > 0 && PinToStart()) {
            Paint();
            Changed();
        }
        return;
    }
    switch (FMode) {
    case smFirstArrow:
        SetControlPosition(Add32(FPosition, FStep));
        break;
    case smSecondArrow:
        SetControlPosition(Sub32(FPosition, FStep));
        break;
    case smTrackBefore:
        SetControlPosition(Add32(FPosition, FLargeStep));
        break;
    case smTrackAfter:
        SetControlPosition(Sub32(FPosition, FLargeStep));
        break;
    case smDrag:
    case smIdle:
        break;
    }
    SetSliderPosition(SliderForPosition());
    Paint();
    Changed();
}

void TStretchScroll::ReChangeAll()
{
    TBitmap tile, first, second;
    tile.SetSize(1, 1);
    if (FImageList) {
        FImageList->GetBitmap(0, first);
        FImageList->GetBitmap(1, second);
        FImageList->GetBitmap(2, tile);
        FImageList->GetBitmap(3, FSliderPicture);
        if (FStyle == ssVert)
            SetWidth(FImageList->Height());
        else
            SetHeight(FImageList->Height());
    }
    FComposed.SetSize(Width(), Height());
    PlaceArrows();
    PlaceSlider();
    TCanvas& c = FComposed.Canvas();
    if (tile.Width() > 0 && tile.Height() > 0) {
        if (FStyle == ssVert) {
            for (int y = 0; y < Height(); y += tile.Height())
                c.Draw(0, y, tile);
        } else {
            for (int x = 0; x < Width(); x += tile.Width())
                c.Draw(x, 0, tile);
        }
    }
    c.Draw(FFirstArrowRect.left, FFirstArrowRect.top, first);
    c.Draw(FSecondArrowRect.left, FSecondArrowRect.top, second);
}

void TStretchScroll::Paint()
{
    // Composed afresh each time, which is what erases the slider at its old place.
    ReChangeAll();
    if (!Visible())
        return;
    if (FStyle == ssVert)
        FComposed.Canvas().Draw(0, FSliderPosition, FSliderPicture);
    else
        FComposed.Canvas().Draw(FSliderPosition, 0, FSliderPicture);
    Canvas.Draw(0, 0, FComposed);
}

void TStretchScroll::PlaceArrows()
{
    int w = Width(), h = Height();
    if (FStyle == ssVert) {
        FFirstArrowRect = Rect(0, 0, w, w);
        FSecondArrowRect = Rect(0, h - w, w, h);
    } else {
        FFirstArrowRect = Rect(0, 0, h, h);
        FSecondArrowRect = Rect(w - h, 0, w, h);
    }
}

void TStretchScroll::PlaceSlider()
{
    if (FStyle == ssVert)
        FSliderRect = Rect(0, FSliderPosition, Width(), FSliderPosition + FSliderLen);
    else
        FSliderRect = Rect(FSliderPosition, 0, FSliderPosition + FSliderLen, Height());
}

void TStretchScroll::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != mbLeft)
        return;
    bool vert = FStyle == ssVert;
    int p = vert ? y : x;
    auto start = [vert](const RECT& r) { return vert ? r.top : r.left; };
    auto end = [vert](const RECT& r) { return vert ? r.bottom : r.right; };
    if (start(FFirstArrowRect) < p && p < end(FFirstArrowRect))
        FMode = smFirstArrow;
    else if (start(FSecondArrowRect) < p && p < end(FSecondArrowRect))
        FMode = smSecondArrow;
    else if (end(FFirstArrowRect) < p && p < start(FSliderRect))
        FMode = smTrackBefore;
    else if (end(FSliderRect) < p && p < start(FSecondArrowRect))
        FMode = smTrackAfter;
    else if (start(FSliderRect) < p && p < end(FSliderRect)) {
        FMode = smDrag;
        return;
    }
    // A press exactly on an edge keeps the mode (idle) but still ticks until the release.
    // The first step comes with the first tick, not with the press.
    FTimer.SetEnabled(true);
}

void TStretchScroll::MouseMove(TShiftState shift, int x, int y)
{
    TGraphicControl::MouseMove(shift, x, y);
    if (FMode != smDrag)
        return;
    if (!CanScroll()) {
        if (FRange > 0 && PinToStart()) {
            Paint();
            Changed();
        }
        return;
    }
    // No grab offset: the slider's leading edge jumps to the pointer.
    SetSliderPosition(FStyle == ssVert ? y : x);
    SetControlPosition(PositionForSlider());
    Paint();
    Changed();
}

void TStretchScroll::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseUp(button, shift, x, y);
    if (button != mbLeft)
        return;
    StopRepeat();
}

void TStretchScroll::MouseCaptureLost()
{
    // The release will never reach this control: end the hold as a release would.
    StopRepeat();
}

void TStretchScroll::StopRepeat()
{
    FTimer.SetEnabled(false);
    FMode = smIdle;
}

void TStretchScroll::Changed()
{
    if (OnChanged)
        OnChanged(this);
}

// The horizontal bar steps along its width with the same arithmetic as the vertical one
// along its height; the scroll position still runs from Top, as for every bar.
int TStretchScroll::Travel() const
{
    return Sub32(Length(), Mul32(3, Thickness()));
}

int TStretchScroll::SliderForPosition() const
{
    return Sub32(Thickness(), Mul32(Sub32(FPosition, Top()), Travel()) / FRange);
}

int TStretchScroll::PositionForSlider() const
{
    return Sub32(Top(), Mul32(Sub32(FSliderPosition, Thickness()), FRange) / Travel());
}

bool TStretchScroll::PinToStart()
{
    bool moved = FSliderPosition != Thickness() || FPosition != Top();
    FSliderPosition = Thickness();
    FPosition = Top();
    PlaceSlider();
    return moved;
}
