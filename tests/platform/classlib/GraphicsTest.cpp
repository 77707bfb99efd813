#include "TBitmap.h"
#include "TCGauge.h"
#include "TImage.h"
#include "TImageList.h"
#include "TestSupport.h"
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>

using namespace testing_support;

TEST(TBitmap, NewPicturesAreWhiteAndKeepTheirContentAtTheSameSize)
{
    TBitmap b;
    b.SetSize(10, 5);
    EXPECT_EQ(b.Pixel(9, 4), clWhite);
    b.Canvas().Brush.Color = RGB(1, 2, 3);
    b.Canvas().FillRect(Rect(0, 0, 10, 5));
    b.SetSize(10, 5);
    EXPECT_EQ(b.Pixel(3, 3), RGB(1, 2, 3)) << "the same size keeps the picture";
    b.SetSize(11, 5);
    EXPECT_EQ(b.Pixel(3, 3), clWhite) << "a new size starts white";
    EXPECT_EQ(b.Pixel(11, 0), clBlack) << "outside the picture";
    TBitmap copy;
    copy.Assign(b);
    EXPECT_EQ(copy.Width(), 11);
    EXPECT_EQ(copy.Height(), 5);
}

TEST(TImageList, CutsEqualPicturesFromTheStrip)
{
    TImageList list(nullptr, 15, 15);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_FALSE(list.LoadFromResourceName("NO_SUCH_PICTURE"));
    ASSERT_TRUE(list.LoadFromResourceName("CHECKBOXES"));
    EXPECT_EQ(list.Count(), 7);
    TBitmap ticked, clear;
    list.GetBitmap(0, ticked);
    list.GetBitmap(1, clear);
    EXPECT_EQ(ticked.Width(), 15);
    EXPECT_EQ(ticked.Height(), 15);
    int differ = 0;
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 15; ++x)
            differ += ticked.Pixel(x, y) != clear.Pixel(x, y);
    EXPECT_GT(differ, 5) << "the tick is only in the first picture";
    TBitmap kept;
    kept.SetSize(3, 3);
    list.GetBitmap(7, kept);
    EXPECT_EQ(kept.Width(), 3) << "an index past the end leaves the bitmap";
}

TEST(TCGauge, PercentOfTheWayBetweenItsLimits)
{
    TCGauge g(nullptr);
    EXPECT_EQ(g.PercentDone(), 0);
    g.SetMaxValue(8);
    g.SetProgress(3);
    EXPECT_EQ(g.PercentDone(), 37) << "whole percent, cut off";
    g.AddProgress(10);
    EXPECT_EQ(g.PercentDone(), 100) << "never past the end";
    g.SetMaxValue(0);
    g.SetProgress(0);
    EXPECT_EQ(g.PercentDone(), 0) << "a reset gauge shows nothing done";
    g.SetMinValue(5);
    g.SetMaxValue(5);
    g.SetProgress(9);
    EXPECT_EQ(g.PercentDone(), 0) << "nor does any empty range";
}

TEST(TCGauge, AWorkerSetsItAndTheWindowDrawsIt)
{
    if (!HaveDisplay())
        GTEST_SKIP() << "no display";
    HostForm host(250, 40);
    auto* g = new TCGauge(&host);
    g->SetBounds(10, 10, 200, 20);
    g->ForeColor = RGB(108, 110, 188);
    g->BackColor = clWhite;
    g->ShowText = false;
    g->SetParent(&host);
    Pump();
    std::thread worker([g] {
        g->SetMaxValue(4);
        g->SetProgress(1);
    });
    worker.join();
    Pump();
    TBitmap shot;
    Grab(host, shot);
    EXPECT_EQ(shot.Pixel(10 + 20, 20), RGB(108, 110, 188)) << "the first quarter is filled";
    EXPECT_EQ(shot.Pixel(10 + 60, 20), clWhite) << "the rest is background";
}

TEST(TImage, DrawsItsPictureStretchedOrNot)
{
    if (!HaveDisplay())
        GTEST_SKIP() << "no display";
    HostForm host(100, 100);
    auto* img = new TImage(&host);
    img->SetBounds(0, 0, 100, 100);
    img->SetParent(&host);
    img->Picture.SetSize(2, 2);
    img->Picture.Canvas().Brush.Color = clRed;
    img->Picture.Canvas().FillRect(Rect(0, 0, 1, 2));
    img->Picture.Canvas().Brush.Color = clBlue;
    img->Picture.Canvas().FillRect(Rect(1, 0, 2, 2));
    TBitmap shot;
    Render(host, shot);
    EXPECT_EQ(shot.Pixel(1, 1), clBlue);
    EXPECT_EQ(shot.Pixel(50, 50), RGB(200, 200, 200)) << "not stretched: the form shows";
    img->Stretch = true;
    Render(host, shot);
    EXPECT_EQ(shot.Pixel(25, 50), clRed);
    EXPECT_EQ(shot.Pixel(75, 50), clBlue);
}

TEST(TCanvas, LinesInThePenAndTextInTheFont)
{
    TBitmap b;
    b.SetSize(20, 20);
    b.Canvas().Pen.Color = clRed;
    b.Canvas().MoveTo(5, 0);
    b.Canvas().LineTo(5, 20);
    EXPECT_EQ(b.Pixel(5, 10), clRed) << "the vertical line";
    EXPECT_EQ(b.Pixel(6, 10), clWhite) << "one pixel wide";
    TCanvas& c = b.Canvas();
    c.Font.Name = "Arial";
    c.Font.Height = -12;
    int narrow = c.TextWidth("iii");
    c.Font.Style = fsBold;
    int bold = c.TextWidth("WWW");
    c.Font.Style = 0;
    EXPECT_LT(narrow, c.TextWidth("WWW"));
    EXPECT_GE(bold, c.TextWidth("WWW")) << "a font change makes a new font";
}
