#include "TApplication.h"
#include "TGraphicControl.h"
#include "TestSupport.h"
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>

using namespace testing_support;

namespace {

// A windowless control that writes down what reaches it.
class Probe : public TGraphicControl {
public:
    Probe(TWinControl* parent, const char* name, int l, int t, int w, int h) : TGraphicControl(parent)
    {
        Name = name;
        SetBounds(l, t, w, h);
        SetParent(parent);
        OnClick = [this](TObject*) { Log += "click;"; };
        OnDblClick = [this](TObject*) { Log += "dbl;"; };
    }
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override
    {
        Log += "down" + std::to_string(b) + (s & ssDouble ? "d" : "") + "@" + std::to_string(x) + "," +
               std::to_string(y) + ";";
    }
    void MouseUp(TMouseButton b, TShiftState, int x, int y) override
    {
        Log += "up" + std::to_string(b) + "@" + std::to_string(x) + "," + std::to_string(y) + ";";
    }
    void MouseMove(TShiftState, int x, int y) override
    {
        Log += "move@" + std::to_string(x) + "," + std::to_string(y) + ";";
    }
    void MouseCaptureLost() override { Log += "lost;"; }
    void Dispatch(TMessage& m) override
    {
        if (m.Msg == CM_MOUSEENTER)
            Log += "enter;";
        if (m.Msg == CM_MOUSELEAVE)
            Log += "leave;";
    }
    void Paint() override
    {
        ++Paints;
        Canvas.Brush.Color = Fill;
        Canvas.FillRect(Rect(0, 0, Width(), Height()));
    }
    std::string Log;
    int Paints = 0;
    TColor Fill = clBlue;
};

class WindowRoutingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveDisplay())
            GTEST_SKIP() << "no display";
        Host.reset(new HostForm(200, 100));
        Lower = new Probe(Host.get(), "Lower", 10, 10, 100, 50);
        Upper = new Probe(Host.get(), "Upper", 60, 20, 100, 50);
    }
    std::unique_ptr<HostForm> Host;
    Probe* Lower = nullptr;
    Probe* Upper = nullptr;
};

}  // namespace

TEST_F(WindowRoutingTest, ThePressGoesToTheTopmostVisibleControl)
{
    Press(*Host, 70, 30);
    Release(*Host, 70, 30);
    EXPECT_EQ(Upper->Log, "down0@10,10;click;up0@10,10;") << "the later control lies on top";
    EXPECT_EQ(Lower->Log, "");
    Upper->SetVisible(false);
    Upper->Log.clear();
    Press(*Host, 70, 30);
    Release(*Host, 70, 30);
    EXPECT_EQ(Lower->Log, "down0@60,20;click;up0@60,20;") << "a hidden control lets the press through";
    EXPECT_EQ(Upper->Log, "");
}

TEST_F(WindowRoutingTest, TheReleaseReachesTheControlThatTookThePress)
{
    MoveTo(*Host, 20, 20);
    Press(*Host, 20, 20);
    MoveTo(*Host, 190, 90);
    Release(*Host, 190, 90);
    EXPECT_EQ(Lower->Log, "enter;move@10,10;down0@10,10;leave;move@180,80;up0@180,80;")
        << "moves and the release are the pressed control's, off it no click";
    EXPECT_EQ(Upper->Log, "");
    Lower->Log.clear();
    Release(*Host, 20, 20);
    EXPECT_EQ(Lower->Log, "up0@10,10;") << "a release without a press is no click";
}

TEST_F(WindowRoutingTest, EnterAndLeaveFollowThePointer)
{
    MoveTo(*Host, 20, 20);
    MoveTo(*Host, 25, 20);
    MoveTo(*Host, 70, 30);
    Leave(*Host);
    EXPECT_EQ(Lower->Log, "enter;move@10,10;move@15,10;leave;");
    EXPECT_EQ(Upper->Log, "enter;move@10,10;leave;");
}

TEST_F(WindowRoutingTest, ADoubleClickIsASecondPressAndADoubleClickEvent)
{
    DoubleClick(*Host, 20, 20);
    EXPECT_EQ(Lower->Log, "down0@10,10;click;up0@10,10;down0d@10,10;dbl;click;up0@10,10;");
}

TEST_F(WindowRoutingTest, LosingTheCaptureIsReported)
{
    Press(*Host, 20, 20);
    ReleaseCapture();
    Pump();
    Release(*Host, 20, 20);
    EXPECT_EQ(Lower->Log, "down0@10,10;lost;up0@10,10;") << "and the late release clicks nothing";
}

TEST_F(WindowRoutingTest, PaintingReachesOnlyVisibleControlsInOrder)
{
    TBitmap shot;
    Upper->Fill = clRed;
    Render(*Host, shot);
    EXPECT_EQ(shot.Pixel(20, 20), clBlue) << "lower control";
    EXPECT_EQ(shot.Pixel(70, 30), clRed) << "where both lie the upper one wins";
    Upper->SetVisible(false);
    Render(*Host, shot);
    EXPECT_EQ(shot.Pixel(70, 30), clBlue);
    EXPECT_EQ(shot.Pixel(150, 60), RGB(200, 200, 200)) << "the form's colour elsewhere";
}

TEST_F(WindowRoutingTest, InvalidationFromAnotherThreadPaintsOnTheWindowsThread)
{
    Pump();
    int before = Lower->Paints;
    std::thread t([this] { Lower->Invalidate(); });
    t.join();
    EXPECT_EQ(Lower->Paints, before) << "nothing painted on the other thread";
    Pump();
    EXPECT_GT(Lower->Paints, before) << "painted once messages were handled";
}
