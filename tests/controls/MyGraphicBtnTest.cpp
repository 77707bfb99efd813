#include "MyGraphicBtn.h"
#include "TestSupport.h"
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using namespace testing_support;

namespace {

class PictureButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveDisplay())
            GTEST_SKIP() << "no display";
        Host.reset(new HostForm(300, 100));
        List = new TImageList(Host.get(), 71, 20);
        ASSERT_TRUE(List->LoadFromResourceName("PROGRESSCANCEL"));
    }
    TMyGraphicBtn* Make(ssStyle style)
    {
        auto* b = new TMyGraphicBtn(Host.get());
        b->Style = style;
        b->SetBounds(100, 40, 71, 20);
        b->SetParent(Host.get());
        b->SetImageList(List);
        b->SetImageNumberOn(2);
        b->SetImageNumberOff(1);
        b->OnClick = [this](TObject*) { ++Clicks; };
        return b;
    }
    std::unique_ptr<HostForm> Host;
    TImageList* List = nullptr;
    int Clicks = 0;
};

// What one pointer story did: the picture shown after each step and the clicks.
struct Seen {
    bool afterEnter, afterPress, afterRelease;
    int clicksAtPress, clicks;
};

}  // namespace

TEST_F(PictureButtonTest, EachStyleFollowsItsTable)
{
    struct Case {
        ssStyle style;
        Seen want;
    } cases[] = {
        {ssOnOver, {true, true, true, 0, 1}},
        {ssSimple, {false, true, false, 0, 1}},
        {ssDownMode, {false, true, true, 1, 1}},
        {ssPicture, {false, false, false, 0, 1}},
    };
    for (const Case& c : cases) {
        TMyGraphicBtn* b = Make(c.style);
        Clicks = 0;
        MoveTo(*Host, 110, 45);
        bool enter = b->ShowingOn();
        Press(*Host, 110, 45);
        bool press = b->ShowingOn();
        int atPress = Clicks;
        Release(*Host, 110, 45);
        EXPECT_EQ(enter, c.want.afterEnter) << "style " << int(c.style) << " after entering";
        EXPECT_EQ(press, c.want.afterPress) << "style " << int(c.style) << " while pressed";
        EXPECT_EQ(b->ShowingOn(), c.want.afterRelease) << "style " << int(c.style) << " after release";
        EXPECT_EQ(atPress, c.want.clicksAtPress) << "style " << int(c.style) << " clicks at the press";
        EXPECT_EQ(Clicks, c.want.clicks) << "style " << int(c.style) << " clicks in all";
        MoveTo(*Host, 5, 5);
        if (c.style == ssOnOver) {
            EXPECT_FALSE(b->ShowingOn()) << "ssOnOver goes dark on leaving";
        }
        Press(*Host, 110, 45);
        Release(*Host, 110, 45);
        if (c.style == ssDownMode) {
            EXPECT_EQ(Clicks, 1) << "a latched button ignores presses";
        }
        b->Free();
    }
}

TEST_F(PictureButtonTest, HeldButtonMovedOffStillClicksOnRelease)
{
    TMyGraphicBtn* b = Make(ssSimple);
    Press(*Host, 110, 45);
    MoveTo(*Host, 250, 90);
    EXPECT_TRUE(b->ShowingOn()) << "the on picture stays while held";
    Release(*Host, 250, 90);
    EXPECT_FALSE(b->ShowingOn());
    EXPECT_EQ(Clicks, 1) << "the release reaches the button that took the press";
}

TEST_F(PictureButtonTest, OnlyTheLeftButtonCounts)
{
    for (ssStyle s : {ssOnOver, ssSimple, ssDownMode, ssPicture}) {
        TMyGraphicBtn* b = Make(s);
        Clicks = 0;
        Press(*Host, 110, 45, mbRight);
        bool pressed = b->ShowingOn();
        Release(*Host, 110, 45, mbRight);
        EXPECT_EQ(Clicks, 0) << "style " << int(s);
        if (s != ssOnOver) {
            EXPECT_FALSE(pressed) << "style " << int(s) << " does not light for the right button";
        }
        b->Free();
        MoveTo(*Host, 5, 5);
    }
}

TEST_F(PictureButtonTest, AReleaseWithoutItsPressNeverClicks)
{
    for (ssStyle s : {ssOnOver, ssSimple, ssPicture}) {
        TMyGraphicBtn* b = Make(s);
        Clicks = 0;
        Release(*Host, 110, 45);
        EXPECT_EQ(Clicks, 0) << "style " << int(s) << ": a release that belongs to another window's press";
        b->Free();
    }
}

TEST_F(PictureButtonTest, LosingTheCaptureEndsAHeldOrLitState)
{
    TMyGraphicBtn* held = Make(ssSimple);
    Press(*Host, 110, 45);
    ASSERT_TRUE(held->ShowingOn());
    ReleaseCapture();
    Pump();
    EXPECT_FALSE(held->ShowingOn()) << "a held button goes dark";
    Release(*Host, 110, 45);
    EXPECT_EQ(Clicks, 0) << "the press was taken away: no click";
    held->Free();

    TMyGraphicBtn* lit = Make(ssOnOver);
    MoveTo(*Host, 110, 45);
    Press(*Host, 110, 45);
    ASSERT_TRUE(lit->ShowingOn());
    ReleaseCapture();
    Pump();
    EXPECT_FALSE(lit->ShowingOn()) << "a lit button goes dark";
    Release(*Host, 110, 45);
    EXPECT_EQ(Clicks, 0);
}

TEST_F(PictureButtonTest, SetDownOnlyForLatchingAndPictureButtons)
{
    for (ssStyle s : {ssOnOver, ssSimple}) {
        TMyGraphicBtn* b = Make(s);
        b->SetDown(true);
        EXPECT_FALSE(b->Down()) << "style " << int(s);
        EXPECT_FALSE(b->ShowingOn()) << "style " << int(s);
        b->Free();
    }
    for (ssStyle s : {ssDownMode, ssPicture}) {
        TMyGraphicBtn* b = Make(s);
        b->SetDown(true);
        EXPECT_TRUE(b->Down() && b->ShowingOn()) << "style " << int(s);
        b->SetDown(false);
        EXPECT_FALSE(b->Down() || b->ShowingOn()) << "style " << int(s);
        b->Free();
    }
    EXPECT_EQ(Clicks, 0) << "SetDown never clicks";
}

TEST_F(PictureButtonTest, DrawsThePictureOfItsStateOrAnEmptyOne)
{
    TMyGraphicBtn* b = Make(ssDownMode);
    TBitmap on, off, shot;
    List->GetBitmap(1, on);
    List->GetBitmap(0, off);
    Render(*Host, shot);
    EXPECT_EQ(shot.Pixel(100 + 35, 40 + 10), off.Pixel(35, 10)) << "off picture";
    b->SetDown(true);
    Render(*Host, shot);
    EXPECT_EQ(shot.Pixel(100 + 35, 40 + 10), on.Pixel(35, 10)) << "on picture";
    b->SetImageNumberOn(0);
    Render(*Host, shot);
    EXPECT_EQ(CountColor(shot, Rect(100, 40, 171, 60), clWhite), 71 * 20) << "no picture: an empty one";
}
