#include "MyGraphicLabel.h"
#include "TApplication.h"
#include "TestSupport.h"
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

using namespace testing_support;

namespace {

// Every character 6 pixels wide: the wrap rules as arithmetic.
int Fixed(const std::string& s)
{
    return static_cast<int>(s.size()) * 6;
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string s;
    for (const std::string& l : lines)
        s += "[" + l + "]";
    return s;
}

}  // namespace

TEST(GraphicLabelWrap, BreaksAtTheLastBlankBeforeTheEdge)
{
    // Width 64: a line breaks once its measured text reaches 60 pixels, 10 characters.
    EXPECT_EQ(Joined(TMyGraphicLabel::WrapLines("aaa bbb ccc ddd", 64, Fixed)), "[aaa bbb ][ccc ddd]")
        << "the first line keeps its blank";
    EXPECT_EQ(Joined(TMyGraphicLabel::WrapLines("aaa bbb ccc ddd eee fff", 64, Fixed)),
              "[aaa bbb ][ccc ddd][eee fff]")
        << "later lines end before their blank";
    EXPECT_EQ(Joined(TMyGraphicLabel::WrapLines("short", 64, Fixed)), "[short]");
    EXPECT_EQ(Joined(TMyGraphicLabel::WrapLines("", 64, Fixed)), "[]");
}

TEST(GraphicLabelWrap, AWordWiderThanTheLabelIsNotBroken)
{
    EXPECT_EQ(Joined(TMyGraphicLabel::WrapLines("abcdefghijklmnop", 64, Fixed)), "[abcdefghijklmnop]");
    EXPECT_EQ(Joined(TMyGraphicLabel::WrapLines("abcdefghijklmnop qr", 64, Fixed)), "[abcdefghijklmnop ][qr]")
        << "the long word runs on and the break comes at the first blank after it";
    EXPECT_EQ(Joined(TMyGraphicLabel::WrapLines("C:\\Documents\\very\\long\\path.txt", 64, Fixed)),
              "[C:\\Documents\\very\\long\\path.txt]")
        << "no empty lines";
}

namespace {

class GraphicLabelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveDisplay())
            GTEST_SKIP() << "no display";
        Host.reset(new HostForm(320, 120, RGB(170, 170, 170)));
    }
    TMyGraphicLabel* Make(int left, int top, int width, int height)
    {
        auto* l = new TMyGraphicLabel(Host.get());
        l->Name = "MyGraphicLabel" + std::to_string(Host->ControlCount() + 1);
        l->SetBounds(left, top, width, height);
        l->Font.Name = "MS Sans Serif";
        l->Font.Height = -11;
        l->Font.Style = fsBold;
        l->Font.Color = clWhite;
        l->SetParent(Host.get());
        return l;
    }
    std::unique_ptr<HostForm> Host;
};

// The picture a label shows for a caption, drawn by a label of its own on the window.
void Picture(TMyGraphicLabel& l, TBitmap& out)
{
    TBitmap shot;
    Render(*l.Parent(), shot);
    out.SetSize(l.Width(), l.Height());
    BitBlt(out.Canvas().DC(), 0, 0, l.Width(), l.Height(), shot.Canvas().DC(), l.Left(), l.Top(), SRCCOPY);
}

bool Same(TBitmap& a, TBitmap& b)
{
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y))
                return false;
    return true;
}

}  // namespace

TEST_F(GraphicLabelTest, AStreamedLabelWithoutCaptionShowsItsNameOnWhite)
{
    TMyGraphicLabel* l = Make(10, 10, 150, 17);
    l->Font.Color = clBlack;
    Pump();
    EXPECT_EQ(l->Caption(), l->Name);
    EXPECT_EQ(l->Color, clWhite);
    TBitmap shot;
    Render(*Host, shot);
    EXPECT_GT(CountColor(shot, l->BoundsRect(), clWhite), 0) << "white background";
    EXPECT_GT(CountColor(shot, l->BoundsRect(), clBlack), 0) << "the name is drawn";
}

TEST_F(GraphicLabelTest, AutoSizeGrowsOnlyAndFromTheNextRender)
{
    TMyGraphicLabel* l = Make(10, 10, 30, 17);
    l->AutoSize = true;
    l->SetCaption("A caption far wider than thirty pixels");
    int wanted = l->GetTextWidth("A caption far wider than thirty pixels");
    Pump();
    EXPECT_EQ(l->Width(), wanted) << "the label widens to its text";
    l->SetCaption("x");
    Pump();
    EXPECT_EQ(l->Width(), wanted) << "and never narrows";
}

TEST_F(GraphicLabelTest, AnEmptyCaptionDrawsNothing)
{
    TMyGraphicLabel* l = Make(10, 10, 150, 17);
    l->SetColorBG(RGB(181, 181, 181));
    l->SetCaption("Shown first");
    Pump();
    TBitmap before, after;
    Grab(*Host, before);
    l->SetCaption("");
    Grab(*Host, after);
    EXPECT_EQ(CountColor(after, l->BoundsRect(), clWhite), CountColor(before, l->BoundsRect(), clWhite))
        << "the old picture stays until the window repaints";
}

TEST_F(GraphicLabelTest, WorkerThreadsNeverWaitAndTheLastCaptionWins)
{
    TMyGraphicLabel* l = Make(10, 10, 280, 17);
    l->SetColorBG(RGB(181, 181, 181));
    l->SetCaption(" ");
    Pump();
    std::atomic<bool> stop{false};
    std::atomic<long long> slowest{0};
    auto worker = [&](int id) {
        for (int i = 0; i < 3000; ++i) {
            auto t0 = std::chrono::steady_clock::now();
            l->SetCaption("Wiping file: C:\\Temp\\" + std::to_string(id) + "_" + std::to_string(i) + ".tmp");
            long long us = std::chrono::duration_cast<std::chrono::microseconds>(
                               std::chrono::steady_clock::now() - t0).count();
            long long s = slowest;
            while (us > s && !slowest.compare_exchange_weak(s, us)) {
            }
        }
    };
    std::thread a(worker, 1), b(worker, 2);
    std::thread pumpWatch([&] {
        a.join();
        b.join();
        stop = true;
    });
    while (!stop)
        Application->ProcessMessages();
    pumpWatch.join();
    EXPECT_LT(slowest.load(), 200000) << "a caption change from a worker took " << slowest << " us";

    std::thread last([&] { l->SetCaption("Done...OK"); });
    last.join();
    Pump();
    EXPECT_EQ(l->Caption(), "Done...OK");
    TBitmap shown, wanted;
    Grab(*Host, shown);
    TMyGraphicLabel* ref = Make(10, 60, 280, 17);
    ref->SetColorBG(RGB(181, 181, 181));
    ref->SetCaption("Done...OK");
    Pump();
    Picture(*ref, wanted);
    TBitmap cut;
    cut.SetSize(280, 17);
    BitBlt(cut.Canvas().DC(), 0, 0, 280, 17, shown.Canvas().DC(), 10, 10, SRCCOPY);
    EXPECT_TRUE(Same(cut, wanted)) << "the screen shows the last caption set";
}

TEST_F(GraphicLabelTest, AWorkerOnlyAsksTheWindowToDraw)
{
    TMyGraphicLabel* l = Make(10, 10, 280, 17);
    l->SetColorBG(RGB(181, 181, 181));
    l->SetCaption(" ");
    Pump();
    TBitmap before, during, after;
    Grab(*Host, before);
    std::thread t([&] { l->SetCaption("From the worker"); });
    t.join();
    Grab(*Host, during);
    EXPECT_EQ(CountColor(during, l->BoundsRect(), clWhite), CountColor(before, l->BoundsRect(), clWhite))
        << "nothing was drawn on the worker's thread";
    Pump();
    Grab(*Host, after);
    EXPECT_GT(CountColor(after, l->BoundsRect(), clWhite), 0) << "the window's thread drew the caption";
}

TEST_F(GraphicLabelTest, MultiLineDrawsOneLineUnderTheOther)
{
    TMyGraphicLabel* l = Make(10, 10, 120, 60);
    l->SetColorBG(RGB(181, 181, 181));
    l->SetCaption("Will be cleaned as soon as you reboot");
    l->SetMultiLine(true);   // after the caption: a first paint without one turns it off
    Pump();
    TBitmap shot;
    Render(*Host, shot);
    int lineHeight = [&] {
        TBitmap b;
        b.Canvas().Font = l->Font;
        return b.Canvas().TextHeight("Will be cleaned as soon as you reboot");
    }();
    EXPECT_GT(CountColor(shot, Rect(10, 11, 130, 11 + lineHeight), clWhite), 0) << "first line";
    EXPECT_GT(CountColor(shot, Rect(10, 11 + lineHeight, 130, 11 + 2 * lineHeight), clWhite), 0)
        << "second line";
}

TEST_F(GraphicLabelTest, TextWidthIsMeasuredInTheLabelsFont)
{
    TMyGraphicLabel* l = Make(10, 10, 77, 17);
    l->SetCaption("x");
    Pump();
    TBitmap b;
    b.Canvas().Font = l->Font;
    EXPECT_EQ(l->GetTextWidth("wide text here"), b.Canvas().TextWidth("wide text here"));
}
