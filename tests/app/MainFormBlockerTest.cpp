#include "FakeShellWindows.h"
#include "MainForm.h"
#include "MainLayout.h"
#include "TApplication.h"
#include "TRegistry.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

using namespace testing_support;
using namespace MainLayout;

namespace {

std::string Beside(const char* name)
{
    return ExeDir() + "\\" + name;
}

bool Loaded(const char* name)
{
    return GetModuleHandleA(Beside(name).c_str()) != nullptr;
}

// The main window as the program makes it, with the stand-in shell list serving one
// browser window.
class MainFormBlockerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveDisplay())
            GTEST_SKIP() << "no display";
        ASSERT_TRUE(Shell.Loaded()) << "the stand-in shell list";
        if (Apart)
            Shell.Apartment();
        TRegistry(HKEY_CURRENT_USER).DeleteKey("Software\\Ostrand");
        // As the program's start does: the window thread is a single-threaded apartment.
        Application->Initialize();
        Browser = CreateWindowA("STATIC", "browser", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        Shell.AddBrowser(Browser, 0);
        Fm = NewForm<TMainFm>(nullptr);
        MainFm = Fm;
    }
    void TearDown() override
    {
        if (Fm)
            Fm->Free();
        DestroyWindow(Browser);
    }
    void Post(UINT message)
    {
        PostMessageA(Application->Handle(), message, 0, 0);
        PumpFor(100);
    }
    VARIANT_BOOL NewWindow()
    {
        VARIANT_BOOL cancel = 99;
        Shell.NewWindow(0, &cancel);
        return cancel;
    }
    TFakeShellWindows Shell;
    TMainFm* Fm = nullptr;
    HWND Browser = nullptr;
    bool Apart = false;
};

TEST_F(MainFormBlockerTest, TheTrayTogglesTheRealBlockerAndCtrlPausesIt)
{
    DeleteFileA(Beside("PopUp.log").c_str());
    Fm->TrayIcon1Click(Fm->TrayIcon1);
    EXPECT_EQ(Fm->PopUpAction->Tag, 0) << "the click only posts";
    PumpFor(100);
    ASSERT_EQ(Fm->PopUpAction->Tag, 1) << "on";
    EXPECT_EQ(Fm->PopUpAction->ImageIndex(), BlockerOnImage) << "item image";
    EXPECT_EQ(Fm->TrayIcon1->IconIndex(), TrayBlockerImage) << "tray image";
    EXPECT_EQ(Fm->PopUpAction->Caption(), "Deactivate Breviker") << "item caption";
    EXPECT_TRUE(Loaded("Brevik.dll") && Loaded("Tarvix.dll")) << "both libraries loaded from the program folder";
    EXPECT_EQ(NewWindow(), VARIANT_TRUE) << "a new window is cancelled";
    PumpFor(200);
    EXPECT_NE(Fm->BlockedHint, nullptr) << "the block is told by a balloon";
    std::string log = ReadFileBytes(Beside("PopUp.log"));
    EXPECT_NE(log.find("IE simple filter: window creation blocked\r\n"), std::string::npos) << "log: " << log;

    // A real key press, through Tarvix's hook.
    SendKey(VK_CONTROL, false);
    PumpUntil([&] { return Fm->TrayIcon1->IconIndex() == TrayPausedImage; });
    EXPECT_EQ(Fm->TrayIcon1->IconIndex(), TrayPausedImage) << "Ctrl held";
    EXPECT_EQ(NewWindow(), VARIANT_FALSE) << "paused while Ctrl is held";
    SendKey(VK_CONTROL, true);
    PumpUntil([&] { return Fm->TrayIcon1->IconIndex() == TrayBlockerImage; });
    EXPECT_EQ(Fm->TrayIcon1->IconIndex(), TrayBlockerImage) << "Ctrl released";
    EXPECT_EQ(NewWindow(), VARIANT_TRUE) << "blocking again";

    // A double-click brings two releases: off and on again.
    HWND tray = Fm->TrayIcon1->WindowHandle();
    SendMessageA(tray, TTrayIcon::CallbackMessage, TTrayIcon::IconId, WM_LBUTTONUP);
    SendMessageA(tray, TTrayIcon::CallbackMessage, TTrayIcon::IconId, WM_LBUTTONDBLCLK);
    SendMessageA(tray, TTrayIcon::CallbackMessage, TTrayIcon::IconId, WM_LBUTTONUP);
    PumpFor(100);
    EXPECT_EQ(Fm->PopUpAction->Tag, 1) << "toggled twice";
    EXPECT_EQ(Shell.Sinks(0), 1) << "watched by the fresh library only";

    Fm->PopUpActionClick(Fm->PopUpAction);
    EXPECT_EQ(Fm->PopUpAction->Tag, 0) << "off";
    EXPECT_EQ(Fm->PopUpAction->ImageIndex(), BlockerOffImage) << "item image";
    EXPECT_EQ(Fm->TrayIcon1->IconIndex(), TrayNormalImage) << "tray image";
    EXPECT_EQ(Fm->PopUpAction->Caption(), "Activate Breviker") << "item caption";
    EXPECT_FALSE(Loaded("Brevik.dll") || Loaded("Tarvix.dll")) << "both libraries freed";
    EXPECT_EQ(Shell.Sinks(0) + Shell.Held(0), 0) << "the browser let go";
    Post(Fm->IdCtrlKeyDown);
    EXPECT_EQ(Fm->TrayIcon1->IconIndex(), TrayNormalImage) << "Ctrl changes nothing while off";
}

TEST_F(MainFormBlockerTest, ClosingWithTheBlockerOnStopsItBeforeFreeingIt)
{
    Fm->PopUpActionClick(Fm->PopUpAction);
    ASSERT_EQ(Fm->PopUpAction->Tag, 1) << "on";
    Fm->ShowPopupBlockedBalloon();
    Fm->Free();
    Fm = nullptr;
    EXPECT_EQ(Shell.Sinks(0) + Shell.Sinks(-1), 0) << "stopped: every sink disconnected";
    EXPECT_EQ(Shell.Held(0) + Shell.Held(-1), 0) << "stopped: the browser and the list let go";
    EXPECT_FALSE(Loaded("Brevik.dll")) << "freed";
}

TEST_F(MainFormBlockerTest, AFailedStartKeepsTheLibraryUntilTheWindowCloses)
{
    Shell.Failure(1);
    Fm->PopUpActionClick(Fm->PopUpAction);
    EXPECT_EQ(Fm->PopUpAction->Tag, 0) << "still off";
    EXPECT_EQ(Fm->TrayIcon1->IconIndex(), TrayNormalImage) << "tray image unchanged";
    EXPECT_TRUE(Loaded("Brevik.dll")) << "kept for the next try";
    EXPECT_FALSE(Loaded("Tarvix.dll")) << "no hook without a blocker";
    Shell.Failure(0);
    Fm->PopUpActionClick(Fm->PopUpAction);
    EXPECT_EQ(Fm->PopUpAction->Tag, 1) << "the next try starts it";
    Fm->PopUpActionClick(Fm->PopUpAction);
    ASSERT_EQ(Fm->PopUpAction->Tag, 0) << "off again";
    Shell.Failure(1);
    Fm->PopUpActionClick(Fm->PopUpAction);
    ASSERT_EQ(Fm->PopUpAction->Tag, 0) << "a start that fails again";
    Fm->Free();
    Fm = nullptr;
    EXPECT_FALSE(Loaded("Brevik.dll")) << "freed with the window";
}

TEST_F(MainFormBlockerTest, OneBalloonAtTheWorkAreaCornerFor2500Ms)
{
    RECT taskbarLeftTop = {100, 60, 1280, 1024};
    RECT r = TMainFm::BalloonBounds(taskbarLeftTop, 200, 20);
    EXPECT_TRUE(r.left == 1080 && r.top == 1004 && r.right == 1280 && r.bottom == 1024)
        << "work area from (100, 60): " << r.left << "," << r.top << "," << r.right << "," << r.bottom;

    // Sent, not posted: no timer tick can come between the block and the checks.
    SendMessageA(Application->Handle(), Fm->IdPopupBlocked, 0, 0);
    THintWindow* hint = Fm->BlockedHint;
    ASSERT_NE(hint, nullptr) << "balloon";
    RECT work, bounds;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(hint->Handle(), &bounds);
    EXPECT_TRUE(bounds.right == work.right && bounds.bottom == work.bottom)
        << "at " << bounds.right << "," << bounds.bottom << " of " << work.right << "," << work.bottom;
    EXPECT_TRUE(IsWindowVisible(hint->Handle())) << "shown";
    EXPECT_EQ(hint->Caption(), "PopUp Window has been blocked") << "text";
    EXPECT_EQ(hint->Color, static_cast<TColor>(RGB(255, 255, 212))) << "pale yellow";
    EXPECT_TRUE(hint->Canvas.Font.Name == "Tahoma" && hint->Canvas.Font.Size() == 9 &&
                hint->Canvas.Font.Style == fsBold)
        << "Tahoma 9 bold: " << hint->Canvas.Font.Name << " " << hint->Canvas.Font.Size();
    // The balloon's life is what the program asks of its timer; the clock of a loaded
    // machine cannot measure it.
    EXPECT_TRUE(Fm->PopUpHintTimer->Enabled() && Fm->PopUpHintTimer->Interval() == 2500)
        << "the balloon's timer: " << (Fm->PopUpHintTimer->Enabled() ? "on" : "off") << ", "
        << Fm->PopUpHintTimer->Interval() << " ms";
    SendMessageA(Application->Handle(), Fm->IdPopupBlocked, 0, 0);
    EXPECT_EQ(Fm->BlockedHint, hint) << "a second block shows no second balloon";
    PumpUntil([&] { return !Fm->BlockedHint; });
    EXPECT_EQ(Fm->BlockedHint, nullptr) << "the balloon still shown after a minute";
    EXPECT_FALSE(Fm->PopUpHintTimer->Enabled()) << "the timer stopped with the balloon";
}

TEST_F(MainFormBlockerTest, ClosingWhenTheStopFailsStillRemovesTheCtrlHook)
{
    Fm->PopUpActionClick(Fm->PopUpAction);
    ASSERT_EQ(Fm->PopUpAction->Tag, 1) << "on";
    ASSERT_TRUE(Loaded("Tarvix.dll")) << "the hook's library";
    Shell.Failure(TFakeShellWindows::UnadviseFails);
    Fm->Free();
    Fm = nullptr;
    EXPECT_FALSE(Loaded("Tarvix.dll")) << "the hook's library after the window closed";
}

// The shell's list in another apartment, as the program sees Explorer's.
class MainFormBlockerApartTest : public MainFormBlockerTest {
protected:
    MainFormBlockerApartTest() { Apart = true; }
};

TEST_F(MainFormBlockerApartTest, AfterTheShellRestartsTheBlockerGoesOffAndOnAgain)
{
    Fm->PopUpActionClick(Fm->PopUpAction);
    ASSERT_EQ(Fm->PopUpAction->Tag, 1) << "on";
    EXPECT_EQ(NewWindow(), VARIANT_TRUE) << "blocked through the other apartment";
    // The next request comes before the dead server's thread has taken its end.
    Shell.Failure(TFakeShellWindows::SlowDeath);
    ASSERT_EQ(Shell.Die(), 1) << "the shell dies";
    Shell.Failure(0);
    Shell.AddBrowser(Browser, 0);
    Fm->PopUpActionClick(Fm->PopUpAction);
    EXPECT_EQ(Fm->PopUpAction->Tag, 0) << "off after the shell died";
    EXPECT_FALSE(Loaded("Tarvix.dll")) << "the hook's library once off";
    Fm->PopUpActionClick(Fm->PopUpAction);
    EXPECT_EQ(Fm->PopUpAction->Tag, 1) << "on again";
    EXPECT_EQ(NewWindow(), VARIANT_TRUE) << "the new shell's browser is blocked";
}

// The message of a message box is its longest static text.
BOOL CALLBACK LongestText(HWND child, LPARAM found)
{
    char buf[512] = {};
    GetWindowTextA(child, buf, sizeof buf);
    auto* best = reinterpret_cast<std::string*>(found);
    if (strlen(buf) > best->size())
        *best = buf;
    return TRUE;
}

// Closes the message box that the main thread shows and hands back its text.
DWORD WINAPI CloseMessageBox(void* text)
{
    for (int i = 0; i < 6000; ++i) {
        HWND box = FindWindowA("#32770", nullptr);
        // Only once it is shown: the box is found before its text is set.
        if (box && IsWindowVisible(box) && GetWindowThreadProcessId(box, nullptr) != GetCurrentThreadId()) {
            EnumChildWindows(box, LongestText, reinterpret_cast<LPARAM>(text));
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            return 0;
        }
        Sleep(10);
    }
    return 1;
}

TEST_F(MainFormBlockerTest, AMissingLibraryShowsTheSystemTextAndAPlantedOneIsNeverLoaded)
{
    std::string real = Beside("Brevik.dll");
    std::string away = real + ".away";
    std::string planted = ScratchDir("planted") + "\\Brevik.dll";
    ASSERT_TRUE(CopyFileA(real.c_str(), planted.c_str(), FALSE)) << "planted copy";
    ASSERT_TRUE(MoveFileA(real.c_str(), away.c_str())) << "library moved away";
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(sizeof cwd, cwd);
    SetCurrentDirectoryA(ScratchDir("planted").c_str());

    std::string text;
    HANDLE closer = CreateThread(nullptr, 0, CloseMessageBox, &text, 0, nullptr);
    Fm->PopUpActionClick(Fm->PopUpAction);
    bool closed = WaitForSingleObject(closer, 5000) == WAIT_OBJECT_0;
    CloseHandle(closer);
    SetCurrentDirectoryA(cwd);
    MoveFileA(away.c_str(), real.c_str());

    EXPECT_TRUE(closed) << "a message box was shown";
    char expected[512] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_MOD_NOT_FOUND, 0,
                   expected, sizeof expected, nullptr);
    std::string want = expected;
    want.erase(std::find_if(want.rbegin(), want.rend(), [](char c) { return c != '\r' && c != '\n'; }).base(),
               want.end());
    EXPECT_EQ(text.substr(0, want.size()), want) << "the system's text for a missing module";
    EXPECT_EQ(GetModuleHandleA(planted.c_str()), nullptr) << "the planted library was not loaded";
    EXPECT_EQ(Fm->BrevikLib, nullptr) << "nothing loaded";
    EXPECT_EQ(Fm->PopUpAction->Tag, 0) << "still off";
}

}  // namespace
