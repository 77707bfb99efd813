// Quelmain.exe used in the orders a person uses it in: closing twice during a run, closing
// from the tray over modal windows and message boxes, a run ending under About, a run that
// cannot start (at start-up too), the Mozilla keep list confirmed without a chosen profile,
// two boxes ending in either order, the session's end during a run, a close after a lone
// Alt in a box. Each ends with the program gone cleanly (exit code 0, no crash in its
// output) and what it keeps on disk as it should be.
#include "COptRWClass.h"
#include "DialogTestSupport.h"
#include "MainForm.h"
#include "MainLayout.h"
#include "ProgressIndicatorFm.h"
#include "TApplication.h"
#include "QuelmainDriver.h"
#include "TRegistry.h"
#include "TestSupport.h"
#include "WindowTestSupport.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstdlib>

using namespace testing_support;
using quelmain_driver::QuelmainDriver;
using quelmain_driver::StoreSettings;

namespace {

const std::string CookieHeader =
    "# HTTP Cookie File\r\n# generated\r\n# edit at your own risk\r\n#\r\n#\r\n";

std::string CookieLine(int i)
{
    return "host" + std::to_string(i) + ".example\tTRUE\t/\tFALSE\t2000000000\tid\t" + std::to_string(i * 7919);
}

// One Mozilla profile with a Cache folder, found through the profile registry file in
// AppData; returns its folder.
std::string MakeProfile()
{
    char appData[MAX_PATH] = "";
    SHGetSpecialFolderPathA(nullptr, appData, CSIDL_APPDATA, TRUE);
    std::string profile = std::string(appData) + "\\Mozilla\\Profiles\\default\\k3x9.slt";
    MakeDirs(profile + "\\Cache");
    WriteFileBytes(std::string(appData) + "\\Mozilla\\Registry.dat", std::string("\0", 1) + profile + std::string("\0", 1));
    return profile;
}

// The settings with only the Mozilla cookies chosen (when `cookies`), the profile chosen
// or not, no logo, and the Mozilla group unfolded below the two folded others.
void StoreMozillaSettings(bool cookies, bool chooseProfile)
{
    StoreSettings([&](TMainFm& fm) {
        fm.SettingsFrame->MyRndRectBtn7->SetDown(true);
        fm.NetTFrame1->MyRndRectBtn4->SetDown(cookies);
        fm.SettingsFrame->ComboBox2->SetItemIndex(chooseProfile ? 0 : -1);
        fm.IETFrame1->ExFrame.Collapsed = true;
        fm.WinTFrame1->ExFrame.Collapsed = true;
        fm.NetTFrame1->ExFrame.Collapsed = false;
    });
}

bool SettingExists(const char* name)
{
    TRegistry reg(HKEY_CURRENT_USER);
    return reg.OpenKeyReadOnly(COptRWClass::Key) && reg.ValueExists(name);
}

void DeleteSetting(const char* name)
{
    TRegistry reg(HKEY_CURRENT_USER);
    if (reg.OpenKey(COptRWClass::Key, false))
        reg.DeleteValue(name);
}

struct FrameSearch {
    HWND Found;
};

BOOL CALLBACK MatchNetFrame(HWND wnd, LPARAM data)
{
    RECT r;
    GetClientRect(wnd, &r);
    if (r.right == MainLayout::FrameWidth && r.bottom == MainLayout::NetTFrame::ExpandedHeight) {
        reinterpret_cast<FrameSearch*>(data)->Found = wnd;
        return FALSE;
    }
    return TRUE;
}

// "Select Cookies to keep" of the unfolded Mozilla group.
void ClickMozillaCookies(HWND main)
{
    FrameSearch s = {nullptr};
    EnumChildWindows(main, MatchNetFrame, reinterpret_cast<LPARAM>(&s));
    ASSERT_NE(s.Found, nullptr) << "the unfolded Mozilla group";
    const auto& r = MainLayout::NetTFrame::MyGraphicBtn2;
    QuelmainDriver::ClickCentre(s.Found, r.Left, r.Top, r.Width, r.Height);
}

// A run long enough to be seen: a large cookie file to rewrite, one cookie kept.
std::string StageLongRun()
{
    std::string profile = MakeProfile();
    std::string cookies = CookieHeader;
    for (int i = 0; i < 600000; ++i)
        cookies += CookieLine(i) + "\r\n";
    WriteFileBytes(profile + "\\cookies.txt", cookies);
    WriteFileBytes(profile + "\\CookiesToKeep.dat", CookieLine(5) + "\r\n");
    StoreMozillaSettings(true, true);
    return profile;
}

// A run of two cookies, one kept, in the profile; returns the cookie file as it is before.
std::string StageShortRun(const std::string& profile)
{
    std::string cookies = CookieHeader + CookieLine(1) + "\r\n" + CookieLine(2) + "\r\n";
    WriteFileBytes(profile + "\\cookies.txt", cookies);
    WriteFileBytes(profile + "\\CookiesToKeep.dat", CookieLine(2) + "\r\n");
    StoreMozillaSettings(true, true);
    return cookies;
}

void ExpectCleanEnd(QuelmainDriver& program)
{
    DWORD code = program.ExitCode();
    EXPECT_EQ(code, 0u) << "exit code " << std::hex << code;
    EXPECT_FALSE(program.Crashed()) << "Wine's debugger was started on the program";
    EXPECT_TRUE(SettingExists("WinOpt")) << "the settings were saved on the way out";
}

// The popup blocker's library away from beside the program for as long as this lives: each
// switch of the blocker then says that the module was not found.
class BlockerAway {
public:
    BlockerAway() : FReal(ExeDir() + "\\Brevik.dll"), FAway(FReal + ".away")
    {
        Moved = MoveFileA(FReal.c_str(), FAway.c_str()) != 0;
    }
    ~BlockerAway()
    {
        if (Moved)
            MoveFileA(FAway.c_str(), FReal.c_str());
    }
    bool Moved = false;

private:
    std::string FReal, FAway;
};

// Starts the program with the blocker's library away and switches the blocker from the
// tray icon: its error box, or null after a failed check.
HWND StartWithTheBlockersBox(QuelmainDriver& program, const BlockerAway& away, HWND& main)
{
    EXPECT_TRUE(away.Moved) << "the blocker's library moved away";
    main = away.Moved && program.Start() ? program.MainWindow() : nullptr;
    EXPECT_NE(main, nullptr) << "main window";
    EXPECT_TRUE(main && QuelmainDriver::ClickTrayIcon()) << "tray icon";
    HWND box = main ? program.WaitForMessageBox() : nullptr;
    EXPECT_NE(box, nullptr) << "the blocker's error box";
    return box;
}

void ClickButtonOf(HWND box, int id)
{
    RECT r;
    HWND button = GetDlgItem(box, id);
    GetClientRect(button, &r);
    QuelmainDriver::Click(button, r.right / 2, r.bottom / 2);
}

void ClickClean(HWND main)
{
    QuelmainDriver::ClickCentre(main, MainLayout::MyGraphicBtn3.Left, MainLayout::MyGraphicBtn3.Top,
                                MainLayout::MyGraphicBtn3.Width, MainLayout::MyGraphicBtn3.Height);
}

class QuelmainSequence : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveDisplay())
            GTEST_SKIP() << "no display";
    }
};

// Two closes from the tray while a run rewrites a large cookie file: the second joins the
// first, which waits for the run; the run ends whole and the program exits once.
TEST_F(QuelmainSequence, ClosingTwiceDuringARunEndsOnceAfterTheRun)
{
    std::string profile = StageLongRun();

    QuelmainDriver program;
    ASSERT_TRUE(program.Start());
    HWND main = program.MainWindow();
    ASSERT_NE(main, nullptr) << "main window";
    ClickClean(main);
    HWND progress = program.WaitForProgressWindow();
    ASSERT_NE(progress, nullptr) << "the run's progress window";
    RECT m, p;
    GetWindowRect(main, &m);
    GetWindowRect(progress, &p);
    EXPECT_LE(abs((m.left + m.right) / 2 - (p.left + p.right) / 2), 1) << "centred across the main window, at " << p.left;
    EXPECT_LE(abs((m.top + m.bottom) / 2 - (p.top + p.bottom) / 2), 1) << "centred down the main window, at " << p.top;
    DeleteSetting("WinOpt");

    ASSERT_TRUE(program.TrayClose()) << "first close";
    ASSERT_TRUE(program.TrayClose()) << "second close, while the first waits";
    EXPECT_TRUE(IsWindow(progress)) << "the run was still going at the second close";
    ExpectCleanEnd(program);
    EXPECT_EQ(ReadFileBytes(profile + "\\cookies.txt"), CookieHeader + CookieLine(5) + "\r\n")
        << "the run ended whole: the header and the kept cookie";
}

// "Close Quelora" with two About boxes open, and with About over a cookie window: the
// modal windows end from the innermost out, as their Cancel would, then the program.
TEST_F(QuelmainSequence, TrayCloseEndsTheOpenDialogsFirst)
{
    std::string profile = MakeProfile();
    WriteFileBytes(profile + "\\cookies.txt", CookieHeader + CookieLine(1) + "\r\n");
    std::string kept = CookieLine(1) + "\r\n";
    WriteFileBytes(profile + "\\CookiesToKeep.dat", kept);
    StoreMozillaSettings(false, true);
    {
        QuelmainDriver program;
        ASSERT_TRUE(program.Start());
        ASSERT_NE(program.MainWindow(), nullptr) << "main window";
        ASSERT_TRUE(program.TrayAbout()) << "tray menu; windows:\n" << quelmain_driver::DescribeWindows();
        HWND about = program.WaitForWindow("About...");
        ASSERT_NE(about, nullptr) << "About window";
        ASSERT_TRUE(program.TrayAbout()) << "tray menu over About";
        ASSERT_NE(program.WaitForWindow("About...", 60000, about), nullptr)
            << "a second About over the first; windows:\n" << quelmain_driver::DescribeWindows();
        DeleteSetting("WinOpt");
        ASSERT_TRUE(program.TrayClose()) << "tray menu over two About boxes";
        ExpectCleanEnd(program);
    }
    {
        QuelmainDriver program;
        ASSERT_TRUE(program.Start());
        HWND main = program.MainWindow();
        ASSERT_NE(main, nullptr) << "main window";
        ClickMozillaCookies(main);
        ASSERT_NE(program.WaitForWindow("CookiesFm"), nullptr) << "cookie window";
        ASSERT_TRUE(program.TrayAbout()) << "tray menu over the cookie window";
        ASSERT_NE(program.WaitForWindow("About..."), nullptr) << "About over the cookie window";
        DeleteSetting("WinOpt");
        ASSERT_TRUE(program.TrayClose()) << "tray menu over About and the cookie window";
        ExpectCleanEnd(program);
    }
    EXPECT_EQ(ReadFileBytes(profile + "\\CookiesToKeep.dat"), kept) << "a cancelled cookie window saves nothing";
}

// Clean Now from the tray under About: the run's end leaves the main window disabled while
// About is open, and About's end gives it back.
TEST_F(QuelmainSequence, ARunEndingUnderAboutLeavesTheMainWindowToAbout)
{
    StageLongRun();
    QuelmainDriver program;
    ASSERT_TRUE(program.Start());
    HWND main = program.MainWindow();
    ASSERT_NE(main, nullptr) << "main window";
    ASSERT_TRUE(program.TrayAbout()) << "tray menu";
    HWND about = program.WaitForWindow("About...");
    ASSERT_NE(about, nullptr) << "About window";
    ASSERT_TRUE(program.TrayCleanNow()) << "tray menu over About";
    HWND progress = program.WaitForProgressWindow();
    ASSERT_NE(progress, nullptr) << "the run's progress window; windows:\n" << quelmain_driver::DescribeWindows();
    ASSERT_TRUE(QuelmainDriver::WaitUntilGone(progress, 120000)) << "the run ended";
    EXPECT_TRUE(IsWindowVisible(about)) << "About is still open";
    EXPECT_FALSE(IsWindowEnabled(main)) << "the run's end left the main window disabled under About";
    QuelmainDriver::ClickCentre(about, 183, 176, 70, 19);   // OK
    EXPECT_TRUE(QuelmainDriver::WaitUntilGone(about)) << "OK closes About";
    EXPECT_TRUE(quelmain_driver::WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }, 60000))
        << "About's end gives the main window back";
    DeleteSetting("WinOpt");
    ASSERT_TRUE(program.TrayClose()) << "tray menu";
    ExpectCleanEnd(program);
}

// "Clean on start" with the logo off and a keep list another program holds: the run cannot
// start while the window is still being made. A close from the tray while its message box
// is open ends the box, then the program, shown or started minimized.
TEST_F(QuelmainSequence, ACloseOverTheFailedCleanOnStartEndsTheProgram)
{
    std::string profile = MakeProfile();
    std::string cookies = CookieHeader + CookieLine(1) + "\r\n";
    WriteFileBytes(profile + "\\cookies.txt", cookies);
    WriteFileBytes(profile + "\\CookiesToKeep.dat", CookieLine(1) + "\r\n");
    HANDLE held = CreateFileA((profile + "\\CookiesToKeep.dat").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE) << "keep list held";
    for (bool minimized : {false, true}) {
        StoreSettings([&](TMainFm& fm) {
            fm.SettingsFrame->MyRndRectBtn7->SetDown(true);   // no logo
            fm.SettingsFrame->MyRndRectBtn4->SetDown(true);   // clean on start
            fm.SettingsFrame->MyRndRectBtn8->SetDown(minimized);
            fm.NetTFrame1->MyRndRectBtn4->SetDown(true);
            fm.SettingsFrame->ComboBox2->SetItemIndex(0);
        });
        QuelmainDriver program;
        ASSERT_TRUE(program.Start());
        HWND box = program.WaitForMessageBox();
        ASSERT_NE(box, nullptr) << "the run at start says why it did not start, minimized " << minimized;
        DeleteSetting("WinOpt");
        ASSERT_TRUE(program.TrayClose()) << "tray menu over the message box, minimized " << minimized;
        ExpectCleanEnd(program);
    }
    CloseHandle(held);
    EXPECT_EQ(ReadFileBytes(profile + "\\cookies.txt"), cookies) << "nothing was cleaned";
}

// A keep list that another program holds cannot be read: the run does not start, says why
// in a message and in the run log, and gives the windows back, so that a close works.
TEST_F(QuelmainSequence, ARunThatCannotStartSaysWhyAndLetsTheProgramClose)
{
    std::string profile = MakeProfile();
    std::string cookies = StageShortRun(profile);
    std::string log = ExeDir() + "\\Quelmain.log";
    DeleteFileA(log.c_str());
    HANDLE held = CreateFileA((profile + "\\CookiesToKeep.dat").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE) << "keep list held";

    QuelmainDriver program;
    ASSERT_TRUE(program.Start());
    HWND main = program.MainWindow();
    ASSERT_NE(main, nullptr) << "main window";
    ClickClean(main);
    HWND box = program.WaitForMessageBox();
    ASSERT_NE(box, nullptr) << "the run says why it did not start";
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(QuelmainDriver::WaitUntilGone(box)) << "message box";
    CloseHandle(held);
    EXPECT_TRUE(quelmain_driver::WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }, 60000))
        << "the main window is given back";
    EXPECT_EQ(program.WaitForProgressWindow(500), nullptr) << "no progress window stays";
    std::string written = PathExists(log) ? ReadFileBytes(log) : std::string("(no log)");
    EXPECT_NE(written.find("CookiesToKeep.dat"), std::string::npos) << "the run log says why: " << written;

    DeleteSetting("WinOpt");
    ASSERT_TRUE(program.TrayClose()) << "tray menu";
    ExpectCleanEnd(program);
    EXPECT_EQ(ReadFileBytes(profile + "\\cookies.txt"), cookies) << "nothing was cleaned";
}

// In the program's own window thread: a timed run that cannot start shows why; due again
// under that box it waits instead of opening a box inside it, and a close inside the box
// ends the box first and the window only after the timer's handler has returned.
TEST_F(QuelmainSequence, ATimedRunThatCannotStartOpensOneBoxAndACloseInsideItWaits)
{
    std::string profile = MakeProfile();
    WriteFileBytes(profile + "\\cookies.txt", CookieHeader + CookieLine(1) + "\r\n");
    WriteFileBytes(profile + "\\CookiesToKeep.dat", CookieLine(1) + "\r\n");
    StoreMozillaSettings(true, true);
    HANDLE held = CreateFileA((profile + "\\CookiesToKeep.dat").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE) << "keep list held";
    TMainFm* fm = NewForm<TMainFm>(nullptr);
    MainFm = fm;
    fm->SettingsFrame->ComboBox1->SetItemIndex(0);   // 10 min
    fm->SettingsFrame->MyRndRectBtn5->SetDown(true);
    fm->SettingsFrameMyRndRectBtn5Click(fm);
    HWND first = nullptr;
    bool secondBox = false;
    bool waitsUnderTheBox = false;
    dialog_test::Later([&] {
        first = dialog_test::MessageBoxOfThisThread();
        // A box inside this one would hold the handler below: it is closed and noted.
        dialog_test::Later([&] {
            HWND box = dialog_test::MessageBoxOfThisThread();
            secondBox = box && box != first;
            if (secondBox)
                PostMessageA(box, WM_COMMAND, IDOK, 0);
        });
        fm->MinutesSinceClean = 9;
        fm->CleanTimerTimer(fm->CleanTimer);
        waitsUnderTheBox = fm->TimedRunPending;
        fm->Close();
    });
    fm->MinutesSinceClean = 9;
    fm->CleanTimerTimer(fm->CleanTimer);
    EXPECT_NE(first, nullptr) << "the failed start showed a box";
    EXPECT_FALSE(secondBox) << "the run due again opened a box inside the first";
    EXPECT_TRUE(waitsUnderTheBox) << "the run due again waits for the box";
    EXPECT_EQ(MainFm, fm) << "the close inside the box left the window to the code after it";
    for (int i = 0; i < 2000 && MainFm; ++i) {
        Application->ProcessMessages();
        Sleep(10);
    }
    EXPECT_EQ(MainFm, nullptr) << "the close came after the box";
    EXPECT_FALSE(secondBox) << "the run that waited for the box was tried on the closing window";
    EXPECT_EQ(IndicatorFm, nullptr) << "no run started on the closing window";
    dialog_test::Pending() = nullptr;   // it refers to this case's variables
    Pump();
    CloseHandle(held);
    if (MainFm)
        MainFm->Free();
    MainFm = nullptr;
}

// After a first start no profile is chosen: the Mozilla cookie window confirmed without a
// change must not empty the keep list that a later run with that profile would honour.
TEST_F(QuelmainSequence, CookieWindowWithoutAChosenProfileLeavesTheStoredKeepList)
{
    std::string profile = MakeProfile();
    WriteFileBytes(profile + "\\cookies.txt",
                   CookieHeader + CookieLine(1) + "\r\n" + CookieLine(2) + "\r\n" + CookieLine(3) + "\r\n");
    std::string kept = CookieLine(1) + "\r\n" + CookieLine(3) + "\r\n";
    WriteFileBytes(profile + "\\CookiesToKeep.dat", kept);
    StoreMozillaSettings(false, false);

    QuelmainDriver program;
    ASSERT_TRUE(program.Start());
    HWND main = program.MainWindow();
    ASSERT_NE(main, nullptr) << "main window";
    ClickMozillaCookies(main);
    HWND window = program.WaitForWindow("CookiesFm");
    ASSERT_NE(window, nullptr) << "cookie window";
    QuelmainDriver::ClickCentre(window, 248, 206, 71, 17);   // OK
    EXPECT_TRUE(QuelmainDriver::WaitUntilGone(window)) << "OK closes the window";
    EXPECT_EQ(ReadFileBytes(profile + "\\CookiesToKeep.dat"), kept) << "the stored keep list";
    ASSERT_TRUE(program.TrayClose()) << "tray menu";
    ExpectCleanEnd(program);
}

// Two switches of the blocker without its library: two boxes. OK on the lower one, while the
// upper one stays: the main window stays disabled, and a click on Clean starts no run, until
// the last box has ended.
TEST_F(QuelmainSequence, TheMainWindowStaysDisabledUntilTheLastBoxEnds)
{
    std::string profile = MakeProfile();
    std::string cookies = StageShortRun(profile);
    BlockerAway away;

    QuelmainDriver program;
    HWND main = nullptr;
    HWND lower = StartWithTheBlockersBox(program, away, main);
    ASSERT_NE(lower, nullptr);
    ASSERT_TRUE(QuelmainDriver::ClickTrayIcon()) << "tray icon under the box";
    HWND upper = program.WaitForMessageBox(60000, lower);
    ASSERT_NE(upper, nullptr) << "the second switch's box; windows:\n" << quelmain_driver::DescribeWindows();
    // Dragged aside, clear of the lower box and of the main window's Clean button.
    SetWindowPos(upper, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ClickButtonOf(lower, IDOK);
    ASSERT_TRUE(QuelmainDriver::WaitUntilGone(lower)) << "OK ends the lower box";
    EXPECT_TRUE(quelmain_driver::WaitUntil([&] { return !IsWindowEnabled(main); }, 30000))
        << "the main window is enabled under the upper box";
    ClickClean(main);
    ASSERT_TRUE(IsWindowVisible(upper)) << "the upper box is still open";
    ClickButtonOf(upper, IDOK);
    ASSERT_TRUE(QuelmainDriver::WaitUntilGone(upper)) << "OK ends the upper box";
    // A run started by the click would hold the window until its end.
    EXPECT_TRUE(quelmain_driver::WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }, 120000))
        << "the last box's end gives the main window back";
    EXPECT_EQ(ReadFileBytes(profile + "\\cookies.txt"), cookies) << "Clean under the upper box started a run";
    DeleteSetting("WinOpt");
    ASSERT_TRUE(program.TrayClose()) << "tray menu";
    ExpectCleanEnd(program);
}

// The slowest mode chosen, a run going, and the session ends: the run is cancelled and
// waited for before the end is answered, and the settings are written as a close writes
// them, also the save choice that a first start never wrote.
TEST_F(QuelmainSequence, TheSessionsEndSavesWhatACloseSaves)
{
    StageLongRun();
    // What a close writes, as on a first start, where the key has none of it.
    for (const char* name : {"WinOpt", "Btn", "SaveSettings"})
        DeleteSetting(name);
    QuelmainDriver program;
    ASSERT_TRUE(program.Start());
    HWND main = program.MainWindow();
    ASSERT_NE(main, nullptr) << "main window";
    QuelmainDriver::ClickCentre(main, MainLayout::MyGraphicBtn8.Left, MainLayout::MyGraphicBtn8.Top,
                                MainLayout::MyGraphicBtn8.Width, MainLayout::MyGraphicBtn8.Height);
    ASSERT_TRUE(quelmain_driver::WaitUntil(
        [] {
            TRegistry reg(HKEY_CURRENT_USER);
            return reg.OpenKeyReadOnly(COptRWClass::Key) && reg.ValueExists("WipeCount") &&
                   reg.ReadInteger("WipeCount") == 5;
        },
        30000))
        << "the slowest mode chosen";
    ClickClean(main);
    HWND progress = program.WaitForProgressWindow();
    ASSERT_NE(progress, nullptr) << "the run's progress window";

    EXPECT_TRUE(program.EndSession()) << "every window of the program lets the session end";
    EXPECT_FALSE(IsWindow(progress)) << "the run was still going when the session's end was answered";
    program.EndProcess();
    EXPECT_FALSE(program.Crashed()) << "Wine's debugger was started on the program";
    EXPECT_TRUE(testing_support::WaitForNoProcess("regsvr32.exe", 60000)) << "the context menu's unregistering ended";
    TRegistry reg(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKeyReadOnly(COptRWClass::Key)) << "the settings key";
    EXPECT_TRUE(reg.ValueExists("WinOpt")) << "the item settings were saved";
    unsigned char modes[3] = {9, 9, 9};
    EXPECT_EQ(reg.ValueExists("Btn") ? reg.ReadBinaryData("Btn", modes, 3) : 0, 3) << "the wipe modes were saved";
    EXPECT_EQ(modes[2], 1) << "the slowest mode saved as chosen";
    EXPECT_EQ(reg.ValueExists("SaveSettings") ? reg.ReadInteger("SaveSettings") : -1, 1) << "the save choice";
}

// The blocker's error box in the system's keyboard menu mode, as a lone Alt puts it on
// Windows; a close of the main window then ends the box and the program. (Wine's display
// driver leaves a bare Alt to the window manager on a window it has one decorate, so the
// mode is asked for with the system menu's key, as Alt and then Space would.)
TEST_F(QuelmainSequence, ACloseAfterALoneAltInABoxEndsTheProgram)
{
    StoreMozillaSettings(false, false);
    BlockerAway away;
    QuelmainDriver program;
    HWND main = nullptr;
    HWND box = StartWithTheBlockersBox(program, away, main);
    ASSERT_NE(box, nullptr);
    PostMessageA(box, WM_SYSCOMMAND, SC_KEYMENU, ' ');
    DWORD thread = GetWindowThreadProcessId(box, nullptr);
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    ASSERT_TRUE(quelmain_driver::WaitUntil(
        [&] { return GetGUIThreadInfo(thread, &info) && (info.flags & GUI_INMENUMODE); }, 30000))
        << "the box in menu mode; box " << box << ", active " << info.hwndActive << ", flags " << info.flags;
    DeleteSetting("WinOpt");
    PostMessageA(main, WM_CLOSE, 0, 0);
    ExpectCleanEnd(program);
}

}  // namespace
