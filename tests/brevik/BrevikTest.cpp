#include "FakeShellWindows.h"
#include "TestSupport.h"
#include "TestWatchdog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>

using namespace testing_support;

namespace {

// The library as a host loads it: by its full path, each export looked up by name.
struct TBrevik {
    HMODULE Module = nullptr;
    int (*StartMonitor)() = nullptr;
    int (*StopMonitor)() = nullptr;
    int (*PauseMonitor)(int) = nullptr;
    int (*SetLogFile)(const char*) = nullptr;
    int (*GetFilterInfo)(unsigned, char*) = nullptr;
    int (*EnableFilter)(unsigned, int) = nullptr;
    int (*IsFilterActive)(unsigned) = nullptr;
    HRESULT(WINAPI* DllCanUnloadNow)() = nullptr;
    HRESULT(WINAPI* DllGetClassObject)(REFCLSID, REFIID, void**) = nullptr;
    HRESULT(WINAPI* DllRegisterServer)() = nullptr;
    HRESULT(WINAPI* DllUnregisterServer)() = nullptr;

    template <class T>
    void Get(T& entry, const char* name)
    {
        entry = reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(Module, name)));
        ASSERT_NE(reinterpret_cast<void*>(entry), nullptr) << name;
    }
    void Load()
    {
        Module = LoadLibraryA(Path().c_str());
        ASSERT_NE(Module, nullptr) << "Brevik.dll, error " << GetLastError();
        Get(StartMonitor, "StartMonitor");
        Get(StopMonitor, "StopMonitor");
        Get(PauseMonitor, "PauseMonitor");
        Get(SetLogFile, "SetLogFile");
        Get(GetFilterInfo, "GetFilterInfo");
        Get(EnableFilter, "EnableFilter");
        Get(IsFilterActive, "IsFilterActive");
        Get(DllCanUnloadNow, "DllCanUnloadNow");
        Get(DllGetClassObject, "DllGetClassObject");
        Get(DllRegisterServer, "DllRegisterServer");
        Get(DllUnregisterServer, "DllUnregisterServer");
    }
    static std::string Path() { return ExeDir() + "\\Brevik.dll"; }
};

// Counts the library's broadcasts that reach a top-level window of the test.
int Broadcasts = 0;
UINT BlockedMessage = 0;
LRESULT CALLBACK CountingProc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == BlockedMessage && BlockedMessage)
        ++Broadcasts;
    return DefWindowProcA(w, msg, wp, lp);
}

const char* const LinePattern = "\\d\\d-\\d\\d-\\d\\d  \\d\\d:\\d\\d:\\d\\d  IE simple filter: window creation blocked\r\n";

class BrevikTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveDisplay())
            GTEST_SKIP() << "no display";
        CoInitialize(nullptr);
        ASSERT_TRUE(Shell.Loaded()) << "the stand-in shell list";
        BlockedMessage = RegisterWindowMessageA("Ostrand-Breviker");
        WNDCLASSA c = {};
        c.lpfnWndProc = CountingProc;
        c.lpszClassName = "BrevikTestListener";
        RegisterClassA(&c);
        Listener = CreateWindowA("BrevikTestListener", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        Broadcasts = 0;
        Browser0 = CreateWindowA("STATIC", "browser 0", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        Browser1 = CreateWindowA("STATIC", "browser 1", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        Log = ScratchDir("brevik") + "\\PopUp.log";
        B.Load();
    }
    void TearDown() override
    {
        if (B.Module) {
            B.StopMonitor();
            FreeLibrary(B.Module);
        }
        DestroyWindow(Listener);
        DestroyWindow(Browser0);
        DestroyWindow(Browser1);
    }
    // Fires NewWindow2 on a browser; the Cancel its watcher answered.
    VARIANT_BOOL NewWindow(int index, int expectSinks = 1)
    {
        VARIANT_BOOL cancel = 99;
        EXPECT_EQ(Shell.NewWindow(index, &cancel), expectSinks) << "sinks told of browser " << index;
        return cancel;
    }
    // A case that hangs ends within a minute and says where its thread waits; the stand-in's
    // own waits end sooner, naming what they waited for.
    TTestWatchdog Watchdog{50000};
    TFakeShellWindows Shell;
    TBrevik B;
    HWND Listener = nullptr, Browser0 = nullptr, Browser1 = nullptr;
    std::string Log;
};

TEST_F(BrevikTest, ExportsKeepTheirOrdinalsAndRefuseBadArguments)
{
    const char* names[] = {"DllCanUnloadNow", "DllGetClassObject", "DllRegisterServer", "DllUnregisterServer",
                           "StartMonitor",    "StopMonitor",       "PauseMonitor",      "SetLogFile",
                           nullptr,           "GetFilterInfo",     "EnableFilter",      "IsFilterActive"};
    for (int ordinal = 1; ordinal <= 12; ++ordinal) {
        FARPROC byOrdinal = GetProcAddress(B.Module, MAKEINTRESOURCEA(ordinal));
        const char* name = names[ordinal - 1];
        EXPECT_EQ(reinterpret_cast<void*>(byOrdinal), name ? reinterpret_cast<void*>(GetProcAddress(B.Module, name))
                                                           : nullptr)
            << "ordinal " << ordinal;
    }
    EXPECT_EQ(B.SetLogFile(std::string(259, 'a').c_str()), 1) << "259 characters";
    EXPECT_EQ(B.SetLogFile(std::string(260, 'a').c_str()), 0) << "260 characters";
    EXPECT_EQ(B.SetLogFile(nullptr), 1) << "no path: logging off";
    char name[256];
    memset(name, 'x', sizeof name);
    EXPECT_EQ(B.GetFilterInfo(1, name), 0) << "filter 1";
    EXPECT_EQ(name[0], 'x') << "the buffer is untouched";
    EXPECT_EQ(B.GetFilterInfo(0, name), 1) << "filter 0";
    EXPECT_STREQ(name, "IE Simple filter") << "its name";
    EXPECT_EQ(name[255], '\0') << "all 256 bytes copied";
    EXPECT_EQ(B.IsFilterActive(5), 0) << "filter 5";
    EXPECT_EQ(B.IsFilterActive(0), 1) << "filter 0 starts enabled";
    EXPECT_EQ(B.EnableFilter(1, 0), 0) << "enable filter 1";
    EXPECT_EQ(B.PauseMonitor(1), 0) << "pause before a start";
    EXPECT_EQ(B.StopMonitor(), 1) << "stop while stopped";
    void* factory = &factory;
    EXPECT_EQ(B.DllGetClassObject(IID_IUnknown, IID_IClassFactory, &factory), CLASS_E_CLASSNOTAVAILABLE)
        << "no class";
    EXPECT_EQ(factory, nullptr) << "no factory handed out";
    EXPECT_EQ(B.DllCanUnloadNow(), S_OK) << "no watcher alive";
}

TEST_F(BrevikTest, RegistersItsTypeLibraryFromItsOwnFile)
{
    ASSERT_EQ(B.DllRegisterServer(), S_OK) << "register";
    const GUID lib = {0x6c2e1a42, 0x3b7d, 0x4e51, {0x9a, 0x8c, 0x2f, 0x4d, 0x6e, 0x0b, 0x7a, 0x11}};
    ITypeLib* tl = nullptr;
    ASSERT_EQ(LoadRegTypeLib(lib, 1, 0, LOCALE_NEUTRAL, &tl), S_OK) << "loaded through the registry";
    BSTR name = nullptr;
    EXPECT_EQ(tl->GetDocumentation(-1, &name, nullptr, nullptr, nullptr), S_OK) << "library name";
    EXPECT_STREQ(name, L"BREVIKLib") << "library name";
    EXPECT_EQ(tl->GetTypeInfoCount(), 4u) << "two coclasses and their interfaces";
    SysFreeString(name);
    tl->Release();
    EXPECT_EQ(B.DllUnregisterServer(), S_OK) << "unregister";
    tl = nullptr;
    EXPECT_NE(LoadRegTypeLib(lib, 1, 0, LOCALE_NEUTRAL, &tl), S_OK) << "gone from the registry";
    if (tl)
        tl->Release();
}

TEST_F(BrevikTest, EveryNewWindowIsCancelledLoggedAndAnnounced)
{
    Shell.AddBrowser(Browser0, 0);
    Shell.AddBrowser(Browser1, 0);
    ASSERT_EQ(B.SetLogFile(Log.c_str()), 1) << "log path";
    ASSERT_EQ(B.StartMonitor(), 1) << "start";
    EXPECT_EQ(B.StartMonitor(), 1) << "a second start";
    EXPECT_EQ(Shell.Sinks(0), 1) << "browser 0 watched once";
    EXPECT_EQ(Shell.Sinks(1), 1) << "browser 1 watched once";
    EXPECT_EQ(Shell.Sinks(-1), 1) << "the list watched";
    EXPECT_EQ(NewWindow(0), VARIANT_TRUE) << "first new window";
    EXPECT_EQ(NewWindow(0), VARIANT_TRUE) << "second new window";
    PumpFor(300);
    EXPECT_EQ(Broadcasts, 2) << "one broadcast per block";
    std::string log = ReadFileBytes(Log);
    EXPECT_TRUE(std::regex_match(log, std::regex(std::string(LinePattern) + LinePattern))) << "log: " << log;
    EXPECT_EQ(B.DllCanUnloadNow(), S_FALSE) << "watchers alive";
    EXPECT_EQ(B.StopMonitor(), 1) << "stop";
    EXPECT_EQ(Shell.Sinks(0) + Shell.Sinks(1) + Shell.Sinks(-1), 0) << "every sink disconnected";
    EXPECT_EQ(Shell.Held(0) + Shell.Held(1) + Shell.Held(-1), 0) << "every browser and the list released";
    EXPECT_EQ(B.DllCanUnloadNow(), S_OK) << "no watcher after the stop";
    EXPECT_EQ(NewWindow(0, 0), VARIANT_FALSE) << "no one answers after the stop";
}

TEST_F(BrevikTest, AnUnwritableLogStillAnnouncesAndNoLogIsSilent)
{
    Shell.AddBrowser(Browser0, 0);
    std::string missing = ScratchDir("brevik") + "\\no such folder\\PopUp.log";
    ASSERT_EQ(B.SetLogFile(missing.c_str()), 1) << "log path";
    ASSERT_EQ(B.StartMonitor(), 1) << "start";
    EXPECT_EQ(NewWindow(0), VARIANT_TRUE) << "unwritable log";
    PumpFor(300);
    EXPECT_EQ(Broadcasts, 1) << "announced all the same";
    EXPECT_FALSE(PathExists(missing)) << "no log made";
    ASSERT_EQ(B.SetLogFile(nullptr), 1) << "logging off";
    EXPECT_EQ(NewWindow(0), VARIANT_TRUE) << "logging off still blocks";
    PumpFor(300);
    EXPECT_EQ(Broadcasts, 1) << "but announces nothing";
}

TEST_F(BrevikTest, PausedOrFilterOffWindowsPassAndAPauseOutlivesAStop)
{
    Shell.AddBrowser(Browser0, 0);
    ASSERT_EQ(B.SetLogFile(Log.c_str()), 1) << "log path";
    ASSERT_EQ(B.StartMonitor(), 1) << "start";
    EXPECT_EQ(B.EnableFilter(0, 0), 0) << "switching the filter while running";
    EXPECT_EQ(B.IsFilterActive(0), 1) << "the filter stays on";
    EXPECT_EQ(B.PauseMonitor(7), 1) << "pause";
    EXPECT_EQ(NewWindow(0), VARIANT_FALSE) << "paused";
    EXPECT_EQ(B.EnableFilter(0, 0), 1) << "switching the filter while paused";
    EXPECT_EQ(B.PauseMonitor(0), 1) << "resume";
    EXPECT_EQ(NewWindow(0), VARIANT_FALSE) << "filter off";
    EXPECT_EQ(B.EnableFilter(0, 2), 0) << "switching back while running";
    EXPECT_EQ(B.StopMonitor(), 1) << "stop";
    EXPECT_EQ(B.EnableFilter(0, 2), 1) << "switching back while stopped";
    EXPECT_EQ(B.IsFilterActive(0), 2) << "stored as given";
    ASSERT_EQ(B.StartMonitor(), 1) << "restart";
    EXPECT_EQ(NewWindow(0), VARIANT_TRUE) << "filter on again";
    EXPECT_EQ(B.PauseMonitor(1), 1) << "pause";
    EXPECT_EQ(B.StopMonitor(), 1) << "stop while paused";
    ASSERT_EQ(B.StartMonitor(), 1) << "start again";
    EXPECT_EQ(NewWindow(0), VARIANT_FALSE) << "still paused after the stop";
    std::string log = ReadFileBytes(Log);
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << "one line for the one block: " << log;
}

TEST_F(BrevikTest, ALaterBrowserIsWatchedAndAQuitLetsItsWatcherGo)
{
    Shell.AddBrowser(Browser0, 0);
    ASSERT_EQ(B.StartMonitor(), 1) << "start";
    Shell.AddBrowser(Browser1, 1);
    EXPECT_EQ(Shell.Sinks(1), 1) << "the registered browser gained a watcher";
    EXPECT_EQ(Shell.Sinks(0), 1) << "the first is not watched twice";
    EXPECT_EQ(NewWindow(1), VARIANT_TRUE) << "the new browser's window";
    EXPECT_EQ(Shell.Quit(1), 0) << "sinks left on the browser that quit";
    EXPECT_EQ(Shell.Held(-2), 0) << "references left on the browser that quit";
    EXPECT_EQ(B.DllCanUnloadNow(), S_FALSE) << "browser 0 still watched";
    EXPECT_EQ(NewWindow(0), VARIANT_TRUE) << "the other browser is still blocked";
    EXPECT_EQ(Shell.Quit(0), 0) << "sinks left on the last browser";
    EXPECT_EQ(B.DllCanUnloadNow(), S_OK) << "no watcher left while running";
    EXPECT_EQ(B.StopMonitor(), 1) << "stop";
}

TEST_F(BrevikTest, AFailedStartOrStopKeepsNothingHalfDone)
{
    Shell.AddBrowser(Browser0, 0);
    Shell.AddBrowser(Browser1, 0);
    Shell.Failure(4);
    EXPECT_EQ(B.StartMonitor(), 0) << "no shell list";
    Shell.Failure(1);
    EXPECT_EQ(B.StartMonitor(), 0) << "a list without events";
    EXPECT_EQ(Shell.Sinks(0) + Shell.Sinks(1), 0) << "the browsers attached on the way were detached";
    EXPECT_EQ(Shell.Held(0) + Shell.Held(1) + Shell.Held(-1), 0) << "and released";
    EXPECT_EQ(B.DllCanUnloadNow(), S_OK) << "no watcher";
    Shell.Failure(0);
    ASSERT_EQ(B.StartMonitor(), 1) << "a start that works";
    Shell.Failure(2);
    EXPECT_EQ(B.StopMonitor(), 0) << "the list cannot be left";
    EXPECT_EQ(NewWindow(0), VARIANT_TRUE) << "still running";
    Shell.Failure(0);
    EXPECT_EQ(B.StopMonitor(), 1) << "stop";
}

TEST_F(BrevikTest, FreedWhileRunningItStaysLoadedUntilStopped)
{
    Shell.AddBrowser(Browser0, 0);
    ASSERT_EQ(B.StartMonitor(), 1) << "start";
    FreeLibrary(B.Module);
    EXPECT_NE(GetModuleHandleA(TBrevik::Path().c_str()), nullptr) << "kept while its sinks are connected";
    EXPECT_EQ(NewWindow(0), VARIANT_TRUE) << "still blocking";
    B.Load();
    EXPECT_EQ(B.StopMonitor(), 1) << "stop";
    FreeLibrary(B.Module);
    B.Module = nullptr;
    EXPECT_EQ(GetModuleHandleA(TBrevik::Path().c_str()), nullptr) << "unloaded after the stop";
}

// A browser that keeps the sink it was asked to let go may call it at any time: the
// library stays loaded for it, and answers without blocking.
TEST_F(BrevikTest, ASinkTheBrowserKeepsKeepsTheLibraryLoaded)
{
    Shell.AddBrowser(Browser0, 0);
    Shell.Failure(TFakeShellWindows::NoListEvents | TFakeShellWindows::BrowserUnadviseFails);
    EXPECT_EQ(B.StartMonitor(), 0) << "a start on a list without events";
    FreeLibrary(B.Module);
    B.Module = nullptr;
    ASSERT_NE(GetModuleHandleA(TBrevik::Path().c_str()), nullptr) << "unloaded under a sink kept after a failed start";
    EXPECT_EQ(NewWindow(0), VARIANT_FALSE) << "the kept sink, called after the failed start";
    B.Load();

    Shell.Failure(0);
    Shell.AddBrowser(Browser1, 0);
    ASSERT_EQ(B.StartMonitor(), 1) << "start";
    Shell.Failure(TFakeShellWindows::BrowserUnadviseFails);
    EXPECT_EQ(B.StopMonitor(), 1) << "stop";
    FreeLibrary(B.Module);
    B.Module = nullptr;
    ASSERT_NE(GetModuleHandleA(TBrevik::Path().c_str()), nullptr) << "unloaded under a sink kept after the stop";
    EXPECT_EQ(NewWindow(1), VARIANT_FALSE) << "the kept sink, called after the stop";
    B.Load();
    EXPECT_EQ(B.DllCanUnloadNow(), S_FALSE) << "sinks still kept";
}

// The shell's list and its browsers in another apartment, as a program sees them.
class BrevikApartTest : public BrevikTest {
protected:
    void SetUp() override
    {
        BrevikTest::SetUp();
        if (!IsSkipped())
            Shell.Apartment();
    }
};

TEST_F(BrevikApartTest, AfterTheShellDiesTheStopSucceedsAndANewShellIsWatched)
{
    Shell.AddBrowser(Browser0, 0);
    ASSERT_EQ(B.StartMonitor(), 1) << "start";
    Shell.Failure(TFakeShellWindows::NewWindowObject);
    EXPECT_EQ(NewWindow(0), VARIANT_TRUE) << "a new window with an object of its own";
    EXPECT_EQ(Shell.Held(-2), 0) << "references left on the new window's object";
    Shell.Failure(0);
    ASSERT_EQ(Shell.Die(), 1) << "the shell dies";
    EXPECT_EQ(B.StopMonitor(), 1) << "stop after the shell died";
    EXPECT_EQ(B.DllCanUnloadNow(), S_OK) << "no watcher kept by the dead shell";

    Shell.AddBrowser(Browser1, 0);
    ASSERT_EQ(B.StartMonitor(), 1) << "start on the new shell";
    EXPECT_EQ(Shell.Sinks(-1), 1) << "the new list watched";
    EXPECT_EQ(NewWindow(0), VARIANT_TRUE) << "the new shell's browser";
    Shell.Failure(TFakeShellWindows::DieInUnadvise);
    EXPECT_EQ(B.StopMonitor(), 1) << "stop while the shell dies under it";
    EXPECT_EQ(B.DllCanUnloadNow(), S_OK) << "no watcher kept by the shell that died";
    Shell.Failure(0);
    Shell.AddBrowser(Browser0, 0);
    ASSERT_EQ(B.StartMonitor(), 1) << "start on the third shell";
    Shell.Failure(TFakeShellWindows::DieInUnadvise | TFakeShellWindows::CallFailsInDeath);
    EXPECT_EQ(B.StopMonitor(), 1) << "stop while the shell dies under it and the call fails";
    EXPECT_EQ(B.DllCanUnloadNow(), S_OK) << "no watcher kept by the shell whose call failed";
    Shell.Failure(0);
    Shell.AddBrowser(Browser1, 0);
    EXPECT_EQ(B.StartMonitor(), 1) << "start on the fourth shell";
    EXPECT_EQ(B.StopMonitor(), 1) << "and stop";
}

// The shell announces a window again while its watcher is being connected: the call comes
// in through the message loop that waits for the connection.
TEST_F(BrevikApartTest, AWindowRegisteredAgainDuringItsAttachGainsOneWatcher)
{
    Shell.AddBrowser(Browser0, 0);
    ASSERT_EQ(B.StartMonitor(), 1) << "start";
    Shell.Failure(TFakeShellWindows::AdviseReannounces);
    Shell.AddBrowser(Browser1, 1);
    EXPECT_EQ(Shell.Sinks(1), 1) << "sinks on the window registered twice";
    EXPECT_EQ(B.StopMonitor(), 1) << "stop";
    EXPECT_EQ(Shell.Sinks(1), 0) << "sinks left after the stop";
    EXPECT_EQ(B.DllCanUnloadNow(), S_OK) << "no watcher left over";
}

// One browser is gone without a word, the other will not let go of its sink: the stop cuts
// both off, and no watcher is left for them to call.
TEST_F(BrevikApartTest, ARevokedOrClingingBrowserKeepsNoWatcherAfterTheStop)
{
    Shell.AddBrowser(Browser0, 0);
    Shell.AddBrowser(Browser1, 0);
    ASSERT_EQ(B.StartMonitor(), 1) << "start";
    EXPECT_EQ(Shell.Revoke(0), 0) << "browser 0 revoked";
    Shell.Failure(TFakeShellWindows::BrowserUnadviseFails);
    EXPECT_EQ(B.StopMonitor(), 1) << "stop";
    EXPECT_EQ(Shell.Sinks(-1), 0) << "sinks left on the list";
    EXPECT_EQ(B.DllCanUnloadNow(), S_OK) << "watchers kept by the browsers";
    FreeLibrary(B.Module);
    B.Module = nullptr;
    EXPECT_EQ(GetModuleHandleA(TBrevik::Path().c_str()), nullptr) << "unloaded after the stop";
}

// The process ends while the monitor runs: nothing may call the shell's list then (the
// loader's lock is held, and a list in another apartment would wait for ever).
TEST_F(BrevikTest, AProcessThatEndsWhileWatchingCallsNothing)
{
    std::string command = "rundll32.exe " + Shell.Path() + ",FakeShellExitWatched " + TBrevik::Path();
    EXPECT_EQ(RunProgram(command, 20000), 0) << command << " (9: the list was called, -2: still running)";
}

}  // namespace
