#include "MyRndRectBtn.h"
#include "TestSupport.h"
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using namespace testing_support;

namespace {

class CheckButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveDisplay())
            GTEST_SKIP() << "no display";
        Host.reset(new HostForm(300, 100));
        List = new TImageList(Host.get(), 15, 15);
        ASSERT_TRUE(List->LoadFromResourceName("CHECKBOXES"));
        Btn = new TMyRndRectBtn(Host.get());
        Btn->Name = "MyRndRectBtn1";
        Btn->SetBounds(10, 10, 50, 17);
        Btn->Font.Name = "Arial";
        Btn->Font.Height = -12;
        Btn->Cursor = crHandPoint;
        Btn->SetParent(Host.get());
        Btn->OnClick = [this](TObject* s) { Clicks += s == Btn; };
        Btn->OnDblClick = [this](TObject*) { ++DoubleClicks; };
    }
    void Labelled(const std::string& caption)
    {
        Btn->SetImageList(List);
        Btn->SetImageNumberOn(1);
        Btn->SetImageNumberOff(2);
        Btn->SetCaption(caption);
        Pump();
    }
    int TextWidth(const std::string& s)
    {
        TBitmap b;
        b.Canvas().Font = Btn->Font;
        return b.Canvas().TextWidth(s);
    }
    // The 15 x 15 area at (x0, y0) of the shot holds exactly the image.
    bool Shows(TBitmap& shot, int x0, int y0, int image)
    {
        TBitmap b;
        List->GetBitmap(image, b);
        for (int y = 0; y < 15; ++y)
            for (int x = 0; x < 15; ++x)
                if (shot.Pixel(x0 + x, y0 + y) != b.Pixel(x, y))
                    return false;
        return true;
    }
    std::unique_ptr<HostForm> Host;
    TImageList* List = nullptr;
    TMyRndRectBtn* Btn = nullptr;
    int Clicks = 0;
    int DoubleClicks = 0;
};

}  // namespace

TEST_F(CheckButtonTest, AnyButtonTogglesAndClicksOnThePress)
{
    Labelled("Cookies");
    for (TMouseButton b : {mbLeft, mbRight, mbMiddle}) {
        bool before = Btn->Down();
        int clicks = Clicks;
        Press(*Host, 20, 15, b);
        EXPECT_NE(Btn->Down(), before) << "button " << b << " toggles on the press";
        EXPECT_EQ(Clicks, clicks + 1) << "button " << b << " fires OnClick before the release";
        Release(*Host, 20, 15, b);
        EXPECT_EQ(Clicks, clicks + 1) << "the release adds nothing";
    }
    Btn->SetDown(true);
    Btn->SetDown(false);
    EXPECT_EQ(Clicks, 3) << "SetDown never clicks";

    bool before = Btn->Down();
    DoubleClick(*Host, 20, 15);
    EXPECT_EQ(Btn->Down(), before) << "a double click toggles twice";
    EXPECT_EQ(Clicks, 5);
    EXPECT_EQ(DoubleClicks, 1);
}

TEST_F(CheckButtonTest, SizesItselfToPictureAndText)
{
    Labelled("Temporary Internet Files");
    EXPECT_EQ(Btn->Width(), 15 + TextWidth("Temporary Internet Files") + 12);
    Btn->SetCaption("Run");
    EXPECT_EQ(Btn->Width(), 15 + TextWidth("Run") + 12) << "a new caption resizes the button";

    TMyRndRectBtn* bare = new TMyRndRectBtn(Host.get());
    bare->SetParent(Host.get());
    bare->SetBounds(10, 50, 40, 17);
    bare->Font = Btn->Font;
    bare->SetCaption("Plain");
    Pump();   // the first paint gives the caption the button's font
    EXPECT_EQ(bare->Width(), TextWidth("Plain") + 4) << "without an image list";
}

TEST_F(CheckButtonTest, AnEmptyCaptionShowsOnlyThePictureOnWhite)
{
    Btn->SetImageList(List);
    Btn->SetImageNumberOn(1);
    Btn->SetImageNumberOff(2);
    Pump();
    EXPECT_EQ(Btn->Width(), 50) << "the width set by the form stays";
    EXPECT_EQ(Btn->Color, clWhite) << "first-paint background";
    EXPECT_EQ(Btn->ColorFontOnOver, clBlue) << "first-paint hover colour";

    TBitmap shot;
    Render(*Host, shot);
    EXPECT_TRUE(Shows(shot, 10, 10, 1)) << "the clear picture while up";
    Btn->SetDown(true);
    Render(*Host, shot);
    EXPECT_TRUE(Shows(shot, 10, 10, 0)) << "the ticked picture while down";
}

TEST_F(CheckButtonTest, NoOnPictureLeavesThePictureAreaAsItWas)
{
    Btn->SetImageList(List);
    Btn->SetImageNumberOff(2);
    Btn->SetCaption("x");
    Pump();
    Btn->SetDown(true);
    TBitmap shot;
    Grab(*Host, shot);
    EXPECT_TRUE(Shows(shot, 10, 10, 1)) << "the clear picture is still on the screen";
}

TEST_F(CheckButtonTest, HoverColoursTheCaptionAndLeaveRestoresTheLastPaintsColour)
{
    Btn->Font.Color = RGB(0, 128, 0);
    Labelled("Hover me");
    Btn->ColorFontOnOver = clBlue;
    Btn->SetColorBG(clWhite);
    RECT text = Rect(10 + 15, 10, 10 + Btn->Width(), 27);
    TBitmap shot;

    MoveTo(*Host, 40, 15);
    Grab(*Host, shot);
    EXPECT_GT(CountColor(shot, text, clBlue), 0) << "the caption turns to the hover colour";

    Btn->Font.Color = clRed;   // changed while hovered: leaving restores the colour of the last paint
    Leave(*Host);
    Grab(*Host, shot);
    EXPECT_EQ(CountColor(shot, text, clBlue), 0) << "no hover colour after leaving";
    EXPECT_GT(CountColor(shot, text, RGB(0, 128, 0)), 0) << "the font colour at the last paint";
    EXPECT_EQ(CountColor(shot, text, clRed), 0);
}
