// A sample skinned window with one of each control, rendered to a PNG that a person looks
// at (build/x86_64/artifacts/sample_window.png), and checked for the basics.
#include "MyGraphicBtn.h"
#include "MyGraphicLabel.h"
#include "MyRndRectBtn.h"
#include "StretchScroll.h"
#include "TCGauge.h"
#include "TImage.h"
#include "Tifacecreator.h"
#include "TestSupport.h"
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

using namespace testing_support;

TEST(SampleWindow, EveryControlOnOneSkinnedWindow)
{
    if (!HaveDisplay())
        GTEST_SKIP() << "no display";
    HostForm form(420, 260, RGB(170, 170, 170));
    form.Name = "ReportFm";   // gives it rounded corners

    auto* skin = new TImage(&form);
    skin->SetBounds(50, 150, 313, 97);
    skin->Stretch = true;
    ASSERT_TRUE(skin->Picture.LoadFromResourceName(GetModuleHandleA(nullptr), "PROGRESSSKIN"));
    skin->SetParent(&form);

    auto* checks = new TImageList(&form, 15, 15);
    checks->LoadFromResourceName("CHECKBOXES");
    const char* items[] = {"Temporary Internet Files", "Cookies", "History"};
    for (int i = 0; i < 3; ++i) {
        auto* b = new TMyRndRectBtn(&form);
        b->SetBounds(20, 20 + 20 * i, 100, 17);
        b->Font.Name = "Arial";
        b->Font.Height = -12;
        b->SetParent(&form);
        b->SetImageList(checks);
        b->SetImageNumberOn(1);
        b->SetImageNumberOff(2);
        b->SetCaption(items[i]);
        b->SetColorBG(RGB(170, 170, 170));
        b->SetDown(i != 1);
    }

    auto* label = new TMyGraphicLabel(&form);
    label->Name = "MyGraphicLabel1";
    label->SetBounds(63, 162, 286, 34);
    label->Font.Name = "MS Sans Serif";
    label->Font.Height = -11;
    label->Font.Style = fsBold;
    label->Font.Color = clWhite;
    label->SetParent(&form);
    label->SetCaption(" Wiping file: C:\\Documents and Settings\\User\\Local Settings\\Temp\\x.tmp");
    label->SetColorBG(RGB(181, 181, 181));
    label->SetMultiLine(true);

    auto* gauge = new TCGauge(&form);
    gauge->SetBounds(63, 216, 205, 20);
    gauge->ForeColor = RGB(108, 110, 188);
    gauge->SetMaxValue(10);
    gauge->SetProgress(6);
    gauge->SetParent(&form);

    auto* cancels = new TImageList(&form, 71, 20);
    cancels->LoadFromResourceName("PROGRESSCANCEL");
    auto* cancel = new TMyGraphicBtn(&form);
    cancel->Style = ssSimple;
    cancel->SetBounds(279, 216, 71, 20);
    cancel->SetParent(&form);
    cancel->SetImageList(cancels);
    cancel->SetImageNumberOn(2);
    cancel->SetImageNumberOff(1);

    auto* bars = new TImageList(&form, 15, 15);
    bars->LoadFromResourceName("SCROLLIMAGES");
    auto* scroll = new TStretchScroll(&form);
    scroll->SetStyle(TStretchScroll::ssVert);
    scroll->SetBounds(380, 20, 15, 130);
    scroll->SetSliderLen(15);
    scroll->SetImageList(bars);
    scroll->SetParent(&form);
    scroll->SetControlPosition(scroll->Top());
    scroll->SetControlWH(200);
    scroll->SetControlPosition(scroll->Top() - 100);
    scroll->StepUp();
    scroll->StepDown();

    ShapeForm(&form);
    Pump();
    TBitmap shot;
    Render(form, shot);
    ASSERT_TRUE(WritePng(shot, ArtifactPath("sample_window.png")));
    EXPECT_EQ(shot.Pixel(63 + 20, 216 + 10), RGB(108, 110, 188)) << "the gauge's filled part";
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(GetWindowRgn(form.Handle(), rgn), ERROR) << "the window has its outline";
    EXPECT_FALSE(PtInRegion(rgn, 1, 1)) << "a cut corner";
    DeleteObject(rgn);
}
