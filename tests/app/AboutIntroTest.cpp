#include "AboutForm.h"
#include "DialogTestSupport.h"
#include "IntroForm.h"
#include "MainForm.h"
#include "ProgressIndicatorFm.h"
#include "TRegistry.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace testing_support;
using namespace dialog_test;

TEST(IntroDecision, OnlyCleanOnStartWithTheLogoStillWantedAndNoRunStartsARun)
{
    struct Case {
        bool cleanOnStart, noLogo, running, starts;
    } cases[] = {
        {true, false, false, true},    // the clean on start that waited for the logo
        {false, false, false, false},  // "Clean on start" up
        {true, true, false, false},    // "Don't show Logo on start" switched on meanwhile
        {true, false, true, false},    // a run the user started meanwhile
    };
    for (const Case& c : cases)
        EXPECT_EQ(TMainFm::CleanWhenIntroCloses(c.cleanOnStart, c.noLogo, c.running), c.starts)
            << "clean on start " << c.cleanOnStart << ", no logo " << c.noLogo << ", running " << c.running;
}

namespace {

const char OpenedKey[] = "Software\\QueloraTest\\Opened";

}  // namespace

// Stands in for the web browser: the shell starts it with the address to open, which it
// hands back through the registry.
TEST(AboutLinkChild, DISABLED_RecordsTheAddressItIsGiven)
{
    TRegistry reg(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKey(OpenedKey, true));
    reg.WriteString("CommandLine", GetCommandLineA());
}

class IntroWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveDisplay())
            GTEST_SKIP() << "no display";
        TRegistry(HKEY_CURRENT_USER).DeleteKey("Software\\Ostrand");
    }
    void TearDown() override
    {
        if (MainFm)
            MainFm->Free();
        MainFm = nullptr;
    }
    // Pumps until the logo has gone; the milliseconds since `since` by then, or -1. A loaded
    // machine may be late by any time, so the wait is long.
    int WaitForTheLogo(DWORD since = GetTickCount())
    {
        while (IntroFm && GetTickCount() - since < 30000)
            Pump();
        return IntroFm ? -1 : static_cast<int>(GetTickCount() - since);
    }
};

TEST_F(IntroWindowTest, TheLogoShowsAtStartClosesByItselfAndClearsTheFlags)
{
    MainFm = NewForm<TMainFm>(nullptr);
    ASSERT_NE(IntroFm, nullptr) << "the logo is shown on a fresh profile";
    EXPECT_TRUE(IsWindowVisible(IntroFm->Handle())) << "visible during the construction";
    EXPECT_TRUE(MainFm->IntroShowing);
    // The picture's own pumping must not let the logo close under it on a slow machine: its
    // two seconds start again afterwards.
    IntroFm->FormCloseTimer->SetEnabled(false);
    EXPECT_TRUE(Snapshot(*IntroFm, "intro_window.png"));
    EXPECT_EQ(IntroFm->FormCloseTimer->Interval(), 2000u) << "the logo's timer";
    // A run of the user's is under way as the logo closes, with "Clean on start" down.
    MainFm->SettingsFrame->MyRndRectBtn4->SetDown(true);
    MainFm->RunInProgress = true;
    // A timer never fires early: from its start to the close is the interval at least.
    const DWORD started = GetTickCount();
    IntroFm->FormCloseTimer->SetEnabled(true);
    int took = WaitForTheLogo(started);
    EXPECT_NE(took, -1) << "the logo closes";
    EXPECT_GE(took, 1950) << "the logo stays two seconds";
    EXPECT_EQ(IndicatorFm, nullptr) << "no second run";
    EXPECT_FALSE(MainFm->IntroShowing) << "flag cleared";
    EXPECT_FALSE(MainFm->CleanOnStartPending) << "flag cleared";
    MainFm->RunInProgress = false;
}

TEST_F(IntroWindowTest, NoLogoWhenTheUserTurnedItOff)
{
    MainFm = NewForm<TMainFm>(nullptr);
    ASSERT_NE(WaitForTheLogo(), -1);
    MainFm->SettingsFrame->MyRndRectBtn7->SetDown(true);
    MainFm->ShowIntroWindow();
    EXPECT_EQ(IntroFm, nullptr) << "no logo";
    EXPECT_FALSE(MainFm->IntroShowing);
}

TEST_F(IntroWindowTest, TheAboutBoxShowsTheVersionAndTheLink)
{
    MainFm = NewForm<TMainFm>(nullptr);
    WaitForTheLogo();
    bool shown = false;
    Later([&] {
        shown = AboutFm && IsWindowVisible(AboutFm->Handle());
        if (!AboutFm)
            return;
        EXPECT_EQ(AboutFm->MyGraphicLabel6->Caption(), "2.8") << "the version";
        LONG style = GetWindowLongA(AboutFm->Handle(), GWL_STYLE);
        EXPECT_EQ(style & (WS_SYSMENU | WS_MINIMIZEBOX), WS_SYSMENU) << "the system menu's button alone";
        // The link opens the address it shows: the shell's "open" of a web address starts
        // the program registered for its scheme, here a stand-in that writes it down.
        std::string address = AboutFm->MyGraphicLabel2->Caption();
        std::string scheme = address.substr(0, address.find(':'));
        char exe[MAX_PATH] = "";
        GetModuleFileNameA(nullptr, exe, MAX_PATH);
        // Wine reads the classes from the machine's branch only; the program it names there
        // is put back afterwards.
        const std::string command = "Software\\Classes\\" + scheme + "\\shell\\open\\command";
        std::string before;
        {
            TRegistry reg(HKEY_LOCAL_MACHINE);
            ASSERT_TRUE(reg.OpenKey(command, true));
            before = reg.ReadString("");
            reg.WriteString("", "\"" + std::string(exe) +
                                    "\" --gtest_also_run_disabled_tests"
                                    " --gtest_filter=AboutLinkChild.DISABLED_RecordsTheAddressItIsGiven \"%1\"");
        }
        // What an earlier run's stand-in wrote would pass for this click's.
        TRegistry(HKEY_CURRENT_USER).DeleteKey(OpenedKey);
        AboutFm->MyGraphicLabel2->OnClick(AboutFm->MyGraphicLabel2);
        std::string opened;
        for (int i = 0; i < 200 && opened.empty(); ++i) {
            Sleep(100);
            TRegistry reg(HKEY_CURRENT_USER);
            if (reg.OpenKeyReadOnly(OpenedKey))
                opened = reg.ReadString("CommandLine");
        }
        {
            TRegistry reg(HKEY_LOCAL_MACHINE);
            if (reg.OpenKey(command, false))
                reg.WriteString("", before);
        }
        EXPECT_FALSE(address.empty() || scheme == address) << "the link shows an address: " << address;
        EXPECT_NE(opened.find(address), std::string::npos) << "the click opens \"" << address << "\"; the browser got: " << opened;
        EXPECT_TRUE(Snapshot(*AboutFm, "about_window.png"));
        AboutFm->MyGraphicBtn1->OnClick(nullptr);
    });
    MainFm->AboutVelmar1Click(nullptr);
    EXPECT_TRUE(shown) << "the tray's About... opens the box";
    Pump();
    EXPECT_EQ(AboutFm, nullptr) << "OK closes and frees it";
}
