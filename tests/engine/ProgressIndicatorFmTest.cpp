#include "CRunOwner.h"
#include "CleanerTestSupport.h"
#include "ProgressIndicatorFm.h"
#include "TestSupport.h"
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>

using namespace testing_support;

namespace {


class ProgressWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveDisplay())
            GTEST_SKIP() << "no display";
        StartRun();
        Main.reset(new HostForm(519, 436));
        Main->SetEnabled(false);
        Owner.Locked = Owner.Running = true;
        IndicatorFm = new TIndicatorFm(Main.get(), &Owner);
        Window = IndicatorFm->Handle();
        IndicatorFm->Show();
        Pump();
    }
    void TearDown() override
    {
        if (IsWindow(Window) && IndicatorFm)
            IndicatorFm->Free();
    }
    std::unique_ptr<HostForm> Main;
    OwnerStandIn Owner;
    HWND Window = nullptr;
};

bool CancelSet()
{
    HANDLE e = OpenEventA(EVENT_ALL_ACCESS, FALSE, "CancelEvent");
    bool set = e && WaitForSingleObject(e, 0) == WAIT_OBJECT_0;
    if (e)
        CloseHandle(e);
    return set;
}

}  // namespace

TEST_F(ProgressWindowTest, LaidOutOverItsSkinAndCentredOnTheMainWindow)
{
    EXPECT_EQ(IndicatorFm->ClientWidth(), 313);
    EXPECT_EQ(IndicatorFm->ClientHeight(), 97);
    EXPECT_EQ(IndicatorFm->Left(), 40 + (519 - 313) / 2);
    EXPECT_TRUE(GetWindowLongA(Window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(IndicatorFm->MyGraphicLabel4->Caption(), " ");
    EXPECT_EQ(IndicatorFm->MyGraphicLabel4->Color, RGB(181, 181, 181));
    IndicatorFm->Indicator.SetGroupTitle("MS Windows");
    IndicatorFm->Indicator.BeginSection("\"Temp\" folder");
    IndicatorFm->Indicator.AddBytes(3 * 1048576 / 2);
    IndicatorFm->Indicator.StatusWiping("C:\\users\\me\\Temp\\setup.tmp");
    Pump();
    TBitmap shot;
    Render(*IndicatorFm, shot);
    EXPECT_TRUE(WritePng(shot, ArtifactPath("progress_window.png")));
    TBitmap cancel;
    IndicatorFm->ImageList1->GetBitmap(0, cancel);
    EXPECT_EQ(shot.Pixel(229 + 35, 66 + 10), cancel.Pixel(35, 10)) << "the Cancel picture";
    EXPECT_EQ(shot.Pixel(13 + 20, 66 + 10), clWhite) << "the empty gauge";
}

TEST_F(ProgressWindowTest, CancelSetsTheEventAndAnEarlyCloseOnlyCancels)
{
    // The close comes first, so that the cancel it leaves is its own.
    EXPECT_FALSE(CancelSet()) << "no cancel before anything was asked";
    SendMessageA(Window, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_TRUE(CancelSet()) << "a close while the run goes on cancels it";
    EXPECT_TRUE(IsWindow(Window)) << "a close while the run goes on never frees the window";
    EXPECT_TRUE(IndicatorFm != nullptr);
    EXPECT_FALSE(IsWindowEnabled(Main->Handle())) << "the main window stays disabled";

    HANDLE e = OpenEventA(EVENT_ALL_ACCESS, FALSE, "CancelEvent");
    ASSERT_NE(e, nullptr);
    ResetEvent(e);
    CloseHandle(e);
    Press(*IndicatorFm, 260, 75);
    Release(*IndicatorFm, 260, 75);
    EXPECT_TRUE(CancelSet()) << "the Cancel button";
    EXPECT_TRUE(IsWindow(Window)) << "the window waits for the run to end";
}

TEST_F(ProgressWindowTest, TheRunsEndClosesOnTheWindowThreadAndHandsTheMainWindowToItsOwner)
{
    IndicatorFm->Indicator.BeginSection("History");
    IndicatorFm->Indicator.SectionDone();
    std::thread worker([] { IndicatorFm->RunFinished(); });
    worker.join();
    EXPECT_TRUE(IsWindow(Window)) << "nothing closed on the worker";
    EXPECT_TRUE(Owner.Running);
    Pump();
    EXPECT_FALSE(IsWindow(Window)) << "closed and freed";
    EXPECT_EQ(IndicatorFm, nullptr);
    EXPECT_FALSE(IsWindowEnabled(Main->Handle())) << "the owner, not the window, gives the main window back";
    EXPECT_FALSE(Owner.Locked) << "tray run items unlocked";
    EXPECT_FALSE(Owner.Running) << "run flag cleared";
    EXPECT_FALSE(CancelSet()) << "the event is gone with the window";
    TStringList log = LogLines();
    ASSERT_EQ(log.Count(), 2);
    EXPECT_EQ(log[1], "Total:   ...      ...") << "the total line comes with the window's end";
}

TEST_F(ProgressWindowTest, BusyDashesRestartAfterNine)
{
    TMyGraphicLabel* dashes = IndicatorFm->MyGraphicLabel5;
    for (int i = 0; i < 80 && dashes->Caption() != " ---------"; ++i) {
        Sleep(100);
        Pump();
    }
    ASSERT_EQ(dashes->Caption(), " ---------") << "nine dashes after the blank";
    for (int i = 0; i < 10 && dashes->Caption() != " "; ++i) {
        Sleep(100);
        Pump();
    }
    EXPECT_EQ(dashes->Caption(), " ") << "the tenth tick starts again";
}
