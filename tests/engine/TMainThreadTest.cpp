#include "CRunOwner.h"
#include "CleanerTestSupport.h"
#include "ProgressIndicatorFm.h"
#include "TApplication.h"
#include "TMainThread.h"
#include "TRegistry.h"
#include "TestSupport.h"
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace testing_support;

namespace {

const char* RunMru = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
const char* DialogMru = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU";


// A whole run as the main window starts it, with a plain window standing in for it.
class RunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveDisplay())
            GTEST_SKIP() << "no display";
        StartRun();
        Main.reset(new HostForm(519, 436));
        PutKey(RunMru);
        PutKey(DialogMru);
    }
    static void PutKey(const char* key)
    {
        TRegistry reg(HKEY_CURRENT_USER);
        ASSERT_TRUE(reg.OpenKey(key, true));
        reg.WriteString("a", "secret");
    }
    static bool KeyThere(const char* key) { return TRegistry(HKEY_CURRENT_USER).KeyExists(key); }

    // Starts the run; `during` is called on the window thread once while the run goes on,
    // when `ready` first holds. Returns false when the run did not end within a minute.
    bool Run(Options& options, const std::function<bool()>& ready = nullptr,
             const std::function<void()>& during = nullptr)
    {
        IndicatorFm = new TIndicatorFm(Main.get(), &Owner);
        Main->SetEnabled(false);
        Owner.Running = true;
        auto* run = new TMainThread();
        run->SetOptions(&options.Container);
        run->SetIndicator(&IndicatorFm->Indicator);
        run->SetWipeCount(1);
        run->Resume();
        Owner.Locked = true;
        IndicatorFm->Show();
        bool called = !during;
        for (int i = 0; i < 6000 && IndicatorFm; ++i) {
            Application->ProcessMessages();
            if (!called && ready && ready()) {
                during();
                called = true;
            }
            Sleep(10);
        }
        return IndicatorFm == nullptr;
    }
    void ExpectGivenBack()
    {
        EXPECT_FALSE(IsWindowEnabled(Main->Handle())) << "the main window is left to the run owner to give back";
        EXPECT_FALSE(Owner.Locked) << "the tray menu's run items are unlocked";
        EXPECT_FALSE(Owner.Running) << "the run flag is cleared";
    }
    static std::string Status()
    {
        return IndicatorFm ? IndicatorFm->MyGraphicLabel1->Caption() : std::string();
    }

    std::unique_ptr<HostForm> Main;
    OwnerStandIn Owner;
};

}  // namespace

TEST_F(RunTest, ARunWithNoItemChosenLogsOnlyTheTotal)
{
    Options options;
    options.Add(options.Container.WinItems, 3, "Start menu Run", false);
    ASSERT_TRUE(Run(options)) << "the run ended";
    ExpectGivenBack();
    TStringList log = LogLines();
    ASSERT_EQ(log.Count(), 1) << log.Text();
    EXPECT_EQ(log[0], "Total:   ...      ...");
    EXPECT_TRUE(KeyThere(RunMru));
}

TEST_F(RunTest, ACancelDuringTheFirstItemEndsTheRunAndTheNextRunStartsAfresh)
{
    CIndicatorClass::PacingPercent = 100;   // time to press Cancel while the item prepares
    Options options;
    options.Add(options.Container.WinItems, 9, "File dialogs", true);
    options.Add(options.Container.WinItems, 3, "Start menu Run", true);
    ASSERT_TRUE(Run(options, [] { return Status() == " File dialogs"; },
                    [] { SendMessageA(IndicatorFm->Handle(), WM_CLOSE, 0, 0); }))
        << "a close request while running cancels, and the run ends by itself";
    ExpectGivenBack();
    TStringList log = LogLines();
    ASSERT_EQ(log.Count(), 2) << log.Text();
    EXPECT_EQ(log[0].substr(8), "   File dialogs      Canceled...");
    EXPECT_TRUE(KeyThere(DialogMru)) << "a cancel on entry deletes nothing";
    EXPECT_TRUE(KeyThere(RunMru)) << "the later item was never begun";

    CIndicatorClass::PacingPercent = 0;
    ASSERT_TRUE(Run(options));
    log = LogLines();
    ASSERT_EQ(log.Count(), 3) << log.Text();
    EXPECT_EQ(log[0].substr(8).substr(0, 16), "   File dialogs ");
    EXPECT_EQ(log[1].substr(log[1].size() - 4), "Done") << "the next run is not cancelled";
    EXPECT_FALSE(KeyThere(DialogMru));
    EXPECT_FALSE(KeyThere(RunMru));
}

TEST_F(RunTest, AFailingCleanerEndsTheRunLikeAnyRunAndIsLogged)
{
    // A Mozilla profile whose cookie file another program holds open: reading it fails.
    TRegistry reg(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKey("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", false));
    std::string appData = reg.ReadString("AppData");
    std::string profile = ScratchDir("runfail") + "\\profile";
    MakeDirs(profile + "\\Cache");
    MakeDirs(appData + "\\Mozilla");
    WriteFileBytes(appData + "\\Mozilla\\Registry.dat", MozillaRegistry({profile}));
    WriteFileBytes(profile + "\\cookies.txt", "# HTTP Cookie File\r\n");
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, "RunTestReady");
    HANDLE quit = CreateEventA(nullptr, TRUE, FALSE, "RunTestQuit");
    HANDLE holder = StartProgram(HelperCommand("hold \"" + profile + "\\cookies.txt\" RunTestReady RunTestQuit"));
    ASSERT_NE(holder, nullptr);
    ASSERT_EQ(WaitForSingleObject(ready, 20000), WAIT_OBJECT_0);

    Options options;
    options.Add(options.Container.WinItems, 3, "Start menu Run", true);
    options.Add(options.Container.NetItems, 4, "Cookies", true);
    bool ended = Run(options);
    SetEvent(quit);
    WaitForSingleObject(holder, 20000);
    CloseHandle(holder);
    CloseHandle(ready);
    CloseHandle(quit);
    DeleteFileA((appData + "\\Mozilla\\Registry.dat").c_str());

    ASSERT_TRUE(ended) << "the window closed although a cleaner failed";
    ExpectGivenBack();
    TStringList log = LogLines();
    ASSERT_EQ(log.Count(), 4) << log.Text();
    EXPECT_EQ(log[0].substr(log[0].size() - 4), "Done") << "the Windows item before the failure";
    EXPECT_EQ(log[1].substr(8), "   Cookies") << "the failing item keeps its begun line";
    EXPECT_EQ(log[2].substr(0, 7), "Error: ") << "the failure is in the log: " << log[2];
    EXPECT_EQ(log[3].substr(0, 8), "Total:  ");
}

TEST_F(RunTest, AnUnreadableCookieKeepListNeitherStopsTheStartNorKeepsTheWindowDisabled)
{
    const std::string keep = ExeDir() + "\\CookiesToKeep.dat";
    WriteFileBytes(keep, "Cookie:keep@kept.example/\r\n");
    HANDLE held = CreateFileA(keep.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Options options;
    options.Add(options.Container.WinItems, 3, "Start menu Run", true);
    options.Add(options.Container.IEItems, 2, "Cookies", true);
    bool ended = false;
    EXPECT_NO_THROW(ended = Run(options)) << "the run's start raised on the window thread";
    CloseHandle(held);
    DeleteFileA(keep.c_str());
    ASSERT_TRUE(ended);
    ExpectGivenBack();
    TStringList log = LogLines();
    ASSERT_EQ(log.Count(), 3) << log.Text();
    EXPECT_EQ(log[0].substr(log[0].size() - 4), "Done") << log[0];
    EXPECT_NE(log[1].find("Cookies"), std::string::npos) << log[1];
    EXPECT_NE(log[1].find("keep list cannot be read"), std::string::npos) << "the item's failure is logged: " << log[1];
}

// A "TMP" of the profile variable alone names the whole profile: the Temp item leaves it
// alone, says so in the run log, and the item still ends on its own line.
TEST_F(RunTest, ATempFolderThatIsTheProfileIsLeftAloneAndLogged)
{
    char profile[MAX_PATH];
    ASSERT_GT(GetEnvironmentVariableA("USERPROFILE", profile, MAX_PATH), 0u);
    const std::string home = profile;
    MakeDirs(home + "\\qkept");
    WriteFileBytes(home + "\\qkept.txt", "kept");
    WriteFileBytes(home + "\\qkept\\inside.txt", "kept");
    PutString(HKEY_CURRENT_USER, "Environment", "TMP", "%USERPROFILE%");

    Options options;
    options.Add(options.Container.WinItems, 5, "Temp folder", true);
    ASSERT_TRUE(Run(options)) << "the run ended";
    EXPECT_EQ(ReadFileBytes(home + "\\qkept.txt"), "kept") << "a file in the profile";
    EXPECT_EQ(ReadFileBytes(home + "\\qkept\\inside.txt"), "kept") << "a file below the profile";
    TStringList log = LogLines();
    ASSERT_EQ(log.Count(), 3) << log.Text();
    EXPECT_EQ(log[0].substr(8, 14), "   Temp folder") << log.Text();
    EXPECT_EQ(log[0].substr(log[0].size() - 4), "Done") << log.Text();
    EXPECT_EQ(log[1].substr(0, 28), "Protected place left alone: ") << log.Text();
    EXPECT_NE(log[1].find(home.substr(2)), std::string::npos) << "the profile named: " << log[1];
    DeleteFileA((home + "\\qkept\\inside.txt").c_str());
    RemoveDirectoryA((home + "\\qkept").c_str());
    DeleteFileA((home + "\\qkept.txt").c_str());
}
