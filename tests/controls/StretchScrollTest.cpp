#include "StretchScroll.h"
#include "TApplication.h"
#include "TImageList.h"
#include "TestSupport.h"
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using namespace testing_support;

namespace {

// The bar as the list windows use it: 15 wide, 15-pixel pictures, a 15-pixel slider.
const int BarLeft = 10;
const int BarTop = 20;
const int BarWidth = 15;
const int Range = 200;

void PumpFor(DWORD ms)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        Application->ProcessMessages();
        Sleep(5);
    }
}

// Pixels of the picture at (left, top) of the rendering that differ from the image.
int Mismatches(TBitmap& rendering, int left, int top, TBitmap& image)
{
    int n = 0;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            n += rendering.Pixel(left + x, top + y) != image.Pixel(x, y);
    return n;
}

class StretchScrollTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveDisplay())
            GTEST_SKIP() << "no display for the test windows";
        host = std::make_unique<HostForm>(60, 200);
        images = std::make_unique<TImageList>(nullptr, 15, 15);
        ASSERT_TRUE(images->LoadFromResourceName("SCROLLIMAGES")) << "the skin pictures are linked in";
        ASSERT_EQ(images->Count(), 4);
    }

    void TearDown() override
    {
        if (host)
            Release(*host, 0, 0);   // no button stays held for the next test
    }

    void MakeBar(int height)
    {
        bar = std::make_unique<TStretchScroll>(nullptr);
        bar->SetParent(host.get());
        bar->SetBounds(BarLeft, BarTop, BarWidth, height);
        bar->SetStyle(TStretchScroll::ssVert);
        bar->SetSliderLen(15);
        bar->SetSControlStep(5);
        bar->SetSControlLargeStep(25);
        bar->SetImageList(images.get());
        bar->SetControlPosition(BarTop);
        bar->SetSliderPosition(15);
        bar->OnChanged = [this](TObject* sender) {
            ++changes;
            EXPECT_EQ(sender, bar.get()) << "OnChanged names the bar as its sender";
        };
    }

    // Pointer actions at a point along the bar, in the middle of its width.
    void PressAt(int y) { Press(*host, BarLeft + 7, BarTop + y); }
    void ReleaseAt(int y) { Release(*host, BarLeft + 7, BarTop + y); }
    void MoveAt(int y) { MoveTo(*host, BarLeft + 7, BarTop + y); }

    std::unique_ptr<HostForm> host;
    std::unique_ptr<TImageList> images;
    std::unique_ptr<TStretchScroll> bar;
    int changes = 0;
};

TEST_F(StretchScrollTest, PositionAndSliderFollowEachOtherWithTruncatedThirtyTwoBitArithmetic)
{
    MakeBar(130);
    EXPECT_FALSE(bar->Repeating()) << "the repeat timer is off at construction";
    bar->SetControlWH(Range);
    EXPECT_TRUE(bar->Visible());
    EXPECT_EQ(changes, 1) << "setting the range fires OnChanged";
    EXPECT_EQ(bar->SliderPosition(), 15) << "at the start the slider sits below the first arrow";

    bar->SetControlPosition(BarTop - 100);
    EXPECT_EQ(bar->SliderPosition(), 15) << "setting the position alone does not move the slider";
    bar->TimerTick();
    EXPECT_EQ(bar->SControlPosition(), BarTop - 100) << "an idle tick does not step";
    EXPECT_EQ(bar->SliderPosition(), 57) << "15 + 100 x 85 / 200, truncated toward zero (not 58)";
    EXPECT_EQ(changes, 2) << "the idle tick still fires OnChanged, the setter did not";

    bar->SetControlWH(Range);
    EXPECT_EQ(bar->SliderPosition(), 57);
    EXPECT_EQ(bar->SControlPosition(), BarTop - 98) << "the way back from slider 57 truncates 8400 / 85";

    changes = 0;
    bar->SetControlPosition(BarTop + 1);
    EXPECT_EQ(bar->SControlPosition(), BarTop) << "no position before the start";
    bar->SetControlPosition(BarTop - Range - 1);
    EXPECT_EQ(bar->SControlPosition(), BarTop - Range) << "no position past the end";
    bar->SetSliderPosition(14);
    EXPECT_EQ(bar->SliderPosition(), 15) << "the slider stays below the first arrow";
    bar->SetSliderPosition(101);
    EXPECT_EQ(bar->SliderPosition(), 100) << "the slider stays above the second arrow (130 - 15 - 15)";
    bar->SetSliderPosition(99);
    EXPECT_EQ(bar->SliderPosition(), 99);
    EXPECT_EQ(changes, 0) << "the setters fire nothing";
}

TEST_F(StretchScrollTest, ARangeOfZeroOrLessHidesTheBarAndStopsEverything)
{
    MakeBar(130);
    bar->SetControlWH(Range);
    PressAt(122);
    bar->TimerTick();
    ASSERT_EQ(bar->SControlPosition(), BarTop - 5) << "the second arrow stepped once";
    changes = 0;

    bar->SetControlWH(0);
    EXPECT_FALSE(bar->Visible()) << "a range of 0 hides the bar";
    EXPECT_EQ(changes, 1) << "hiding still fires OnChanged, so the owner moves its content back";
    EXPECT_EQ(bar->SControlPosition(), BarTop) << "back at the start";
    EXPECT_EQ(bar->SliderPosition(), BarWidth) << "the slider goes back below the first arrow";
    EXPECT_FALSE(bar->Repeating()) << "a hold has nothing left to repeat";
    EXPECT_EQ(bar->Mode(), TStretchScroll::smIdle);

    bar->TimerTick();
    bar->StepLDown();
    bar->MoveBottom();
    PumpFor(250);
    EXPECT_EQ(changes, 1) << "a hidden bar neither ticks nor steps";
    EXPECT_EQ(bar->SControlPosition(), BarTop);

    bar->SetControlWH(-5);
    EXPECT_EQ(changes, 2);
    bar->SetControlPosition(BarTop - 10);
    EXPECT_EQ(bar->SControlPosition(), BarTop) << "a negative range leaves only the start";
}

TEST_F(StretchScrollTest, ABarNoTallerThanThreeWidthsStaysAtTheStart)
{
    MakeBar(3 * BarWidth);
    bar->SetControlWH(Range);
    EXPECT_TRUE(bar->Visible()) << "the range is positive";
    EXPECT_EQ(bar->SliderPosition(), BarWidth);
    EXPECT_EQ(bar->SControlPosition(), BarTop);
    changes = 0;

    bar->StepLDown();
    bar->MoveBottom();
    PressAt(37);   // the second arrow: 30 to 45
    EXPECT_EQ(bar->Mode(), TStretchScroll::smSecondArrow);
    bar->TimerTick();
    EXPECT_FALSE(bar->Repeating()) << "a hold on a bar that cannot scroll ends at its first tick";
    EXPECT_EQ(bar->Mode(), TStretchScroll::smIdle);
    ReleaseAt(37);
    PressAt(22);   // the slider: 15 to 30
    EXPECT_EQ(bar->Mode(), TStretchScroll::smDrag);
    MoveAt(40);
    ReleaseAt(40);
    EXPECT_EQ(bar->SControlPosition(), BarTop) << "neither steps nor a drag leave the start";
    EXPECT_EQ(bar->SliderPosition(), BarWidth);
    EXPECT_EQ(changes, 0) << "nothing changed, so nothing is announced";
}

TEST_F(StretchScrollTest, TheRepeatRunsFromThePressToTheReleaseOrTheLossOfTheCapture)
{
    MakeBar(130);
    bar->SetControlWH(Range);
    changes = 0;

    // A timer never ticks early, but a loaded machine may tick it late by any time: the
    // clock bounds the ticks from above only.
    const DWORD pressed = GetTickCount();
    PressAt(7);
    EXPECT_TRUE(bar->Repeating()) << "a press on an arrow starts the repeat";
    EXPECT_EQ(changes, 0) << "no step at the press";
    PumpUntil([&] { return changes >= 2; });
    const DWORD elapsed = GetTickCount() - pressed;
    EXPECT_GE(changes, 2) << "ticks while held at the start, " << elapsed << " ms after the press";
    // 20 ms for the clock's own steps.
    EXPECT_LE(changes, static_cast<int>((elapsed + 20) / 100)) << "no more than one tick per 100 ms, in " << elapsed
                                                               << " ms";
    EXPECT_EQ(bar->SControlPosition(), BarTop) << "a bar at the start stays there";
    ReleaseAt(7);
    EXPECT_FALSE(bar->Repeating()) << "the release stops the repeat";
    EXPECT_EQ(bar->Mode(), TStretchScroll::smIdle);

    changes = 0;
    PressAt(122);
    PumpUntil([&] { return changes >= 1; });
    ASSERT_EQ(GetCapture(), host->Handle()) << "the press captured the pointer";
    ReleaseCapture();
    Pump();
    EXPECT_FALSE(bar->Repeating()) << "the release will never come: the capture loss stops the timer";
    EXPECT_EQ(bar->Mode(), TStretchScroll::smIdle);
    int held = changes;
    EXPECT_GE(held, 1);
    EXPECT_EQ(bar->SControlPosition(), BarTop - 5 * held) << "one small step toward the end per tick";
    PumpFor(250);
    EXPECT_EQ(changes, held) << "no tick once the hold ended";
}

TEST_F(StretchScrollTest, ThePressedPartChoosesTheStep)
{
    MakeBar(130);
    bar->SetControlWH(Range);
    changes = 0;
    // Each press, then one tick: where, the mode, the position and slider after the tick.
    struct Case {
        int y;
        TStretchScroll::TScrollMode mode;
        int position, slider;
    };
    const Case cases[] = {
        {60, TStretchScroll::smTrackAfter, BarTop - 25, 25},    // track after the slider (30 to 115)
        {60, TStretchScroll::smTrackAfter, BarTop - 50, 36},
        {20, TStretchScroll::smTrackBefore, BarTop - 25, 25},   // track before the slider (15 to 36)
        {7, TStretchScroll::smFirstArrow, BarTop - 20, 23},
        {122, TStretchScroll::smSecondArrow, BarTop - 25, 25},
        {15, TStretchScroll::smIdle, BarTop - 25, 25},          // the edges: the tick does not step
        {25, TStretchScroll::smIdle, BarTop - 25, 25},
        {40, TStretchScroll::smIdle, BarTop - 25, 25},
        {115, TStretchScroll::smIdle, BarTop - 25, 25},
    };
    for (const Case& c : cases) {
        PressAt(c.y);
        EXPECT_EQ(bar->Mode(), c.mode) << "press at " << c.y;
        EXPECT_TRUE(bar->Repeating()) << "press at " << c.y;
        bar->TimerTick();
        EXPECT_EQ(bar->SControlPosition(), c.position) << "press at " << c.y;
        EXPECT_EQ(bar->SliderPosition(), c.slider) << "press at " << c.y;
        ReleaseAt(c.y);
    }
    EXPECT_EQ(changes, 9) << "one OnChanged per tick, stepping or not";

    PressAt(100);
    for (int i = 0; i < 8; ++i)
        bar->TimerTick();
    ReleaseAt(100);
    EXPECT_EQ(bar->SControlPosition(), BarTop - Range) << "the track stops at the end";
    EXPECT_EQ(bar->SliderPosition(), 100) << "the slider stops above the second arrow";
}

TEST_F(StretchScrollTest, DraggingPutsTheSliderAtThePointer)
{
    MakeBar(130);
    bar->SetControlWH(Range);
    bar->SetControlPosition(BarTop - 100);
    bar->TimerTick();
    ASSERT_EQ(bar->SliderPosition(), 57);
    changes = 0;

    PressAt(64);
    EXPECT_EQ(bar->Mode(), TStretchScroll::smDrag);
    EXPECT_FALSE(bar->Repeating()) << "a drag has no repeat";
    MoveAt(40);
    EXPECT_EQ(bar->SliderPosition(), 40) << "the slider's edge jumps to the pointer, no grab offset";
    EXPECT_EQ(bar->SControlPosition(), BarTop - 58) << "20 - 25 x 200 / 85";
    MoveAt(-30);
    EXPECT_EQ(bar->SliderPosition(), 15) << "above the first arrow the slider stays below it";
    EXPECT_EQ(bar->SControlPosition(), BarTop);
    MoveAt(300);
    EXPECT_EQ(bar->SliderPosition(), 100) << "past the end the slider stays above the second arrow";
    EXPECT_EQ(bar->SControlPosition(), BarTop - Range);
    ReleaseAt(300);
    MoveAt(40);
    EXPECT_EQ(bar->SliderPosition(), 100) << "after the release the pointer no longer drags";
    EXPECT_EQ(changes, 3) << "one OnChanged per drag move";

    // The products are 32-bit: 85 x 30,000,000 wraps, and the position comes out clamped
    // at the start rather than at the end.
    bar->SetControlPosition(BarTop);
    bar->SetControlWH(30000000);
    PressAt(22);
    MoveAt(110);
    ReleaseAt(110);
    EXPECT_EQ(bar->SliderPosition(), 100);
    EXPECT_EQ(bar->SControlPosition(), BarTop) << "a 64-bit product would give " << BarTop - 30000000;
}

TEST_F(StretchScrollTest, StepsAndMovesFromTheKeysAndTheWheel)
{
    MakeBar(130);
    bar->SetControlWH(Range);
    changes = 0;
    bar->StepLDown();
    EXPECT_EQ(bar->SControlPosition(), BarTop - 25);
    bar->StepDown();
    EXPECT_EQ(bar->SControlPosition(), BarTop - 30);
    bar->StepUp();
    EXPECT_EQ(bar->SControlPosition(), BarTop - 25);
    bar->StepLUp();
    EXPECT_EQ(bar->SControlPosition(), BarTop);
    EXPECT_EQ(bar->Mode(), TStretchScroll::smIdle) << "a step leaves the bar idle";
    EXPECT_FALSE(bar->Repeating()) << "a step starts no repeat";
    bar->MoveBottom();
    EXPECT_EQ(bar->SControlPosition(), BarTop - Range);
    EXPECT_EQ(bar->SliderPosition(), 100);
    bar->MoveTop();
    EXPECT_EQ(bar->SControlPosition(), BarTop);
    EXPECT_EQ(bar->SliderPosition(), 15);
    EXPECT_EQ(changes, 6) << "one OnChanged per step or move";
}

TEST_F(StretchScrollTest, TheSliderIsDrawnWhereItIs)
{
    MakeBar(130);
    TBitmap up, down, track, slider;
    images->GetBitmap(0, up);
    images->GetBitmap(1, down);
    images->GetBitmap(2, track);
    images->GetBitmap(3, slider);
    ASSERT_GT(Mismatches(slider, 0, 0, track), 0) << "the slider must be told apart from the track";

    bar->SetControlWH(Range);
    TBitmap shown;
    Render(*host, shown);
    EXPECT_EQ(Mismatches(shown, BarLeft, BarTop, up), 0) << "the first arrow at the top";
    EXPECT_EQ(Mismatches(shown, BarLeft, BarTop + 115, down), 0) << "the second arrow at the bottom";
    EXPECT_EQ(Mismatches(shown, BarLeft, BarTop + 15, slider), 0) << "the slider at the start";

    bar->SetControlPosition(BarTop - 100);
    bar->TimerTick();
    Render(*host, shown);
    EXPECT_EQ(Mismatches(shown, BarLeft, BarTop + 57, slider), 0) << "the slider at its new place";
    EXPECT_EQ(Mismatches(shown, BarLeft, BarTop + 15, track), 0) << "only the track at its old place";

    bar->SetControlWH(0);
    Render(*host, shown);
    EXPECT_EQ(shown.Pixel(BarLeft + 7, BarTop + 7), RGB(200, 200, 200)) << "a hidden bar draws nothing";
}

}  // namespace
