// Quelmain.exe as a user starts it: a process of its own over stored settings, one
// instance per session. Each case gets a sandbox of its own (two programs and a whole run).
#include "COptRWClass.h"
#include "MainForm.h"
#include "QuelmainDriver.h"
#include "TRegistry.h"
#include "TestSupport.h"
#include "WindowTestSupport.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <functional>
#include <string>

using namespace testing_support;

namespace {

std::string Quelmain()
{
    return "\"" + ExeDir() + "\\Quelmain.exe\"";
}

// The main window of the process, shown or not (the application window has its own class).
struct WindowSearch {
    DWORD Pid;
    HWND Found;
};

BOOL CALLBACK MatchMainWindow(HWND wnd, LPARAM data)
{
    auto* s = reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(wnd, &owner);
    char cls[64] = "";
    GetClassNameA(wnd, cls, sizeof cls);
    if (owner == s->Pid && std::string(cls) == "QueloraWindow" && WindowText(wnd) == "Quelora") {
        s->Found = wnd;
        return FALSE;
    }
    return TRUE;
}

HWND MainWindowOf(DWORD pid)
{
    WindowSearch search = {pid, nullptr};
    EnumWindows(MatchMainWindow, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    for (DWORD waited = 0; waited < timeoutMs; waited += 100) {
        if (done())
            return true;
        Sleep(100);
    }
    return done();
}

DWORD ExitCodeAfter(HANDLE process, DWORD timeoutMs)
{
    if (WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(process, 99);
        return 0xDEADu;
    }
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    return code;
}

// Stored settings with every item up except `keep` (may be null), the settings page
// changed by `page`.
void StoreSettings(const std::function<void(TMainFm&)>& page, TMyRndRectBtn* TWinTFrame::*keep)
{
    quelmain_driver::StoreSettings([&](TMainFm& fm) {
        if (keep)
            (fm.WinTFrame1->*keep)->SetDown(true);
        page(fm);
    });
}

class QuelmainProcess : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveDisplay())
            GTEST_SKIP() << "no display";
    }
};

TEST_F(QuelmainProcess, OfTwoStartsAtOnceOneGoesOnAndALaterOneBringsItBack)
{
    StoreSettings(
        [](TMainFm& fm) {
            fm.SettingsFrame->MyRndRectBtn7->SetDown(true);  // no logo
            fm.SettingsFrame->MyRndRectBtn8->SetDown(true);  // start minimized
        },
        nullptr);
    // Two starts at once, before either has a window: exactly one goes on. The one that
    // yields calls the other out of the tray if its window is already there, so whether that
    // one is seen depends on the pace of the two.
    DWORD pids[2] = {};
    HANDLE starts[2] = {StartProgram(Quelmain(), &pids[0]), StartProgram(Quelmain(), &pids[1])};
    ASSERT_NE(starts[0], nullptr) << "Quelmain started";
    ASSERT_NE(starts[1], nullptr) << "Quelmain started twice";
    DWORD ended = WaitForMultipleObjects(2, starts, FALSE, 60000) - WAIT_OBJECT_0;
    ASSERT_LT(ended, 2u) << "neither of two starts at once ended: two instances run";
    EXPECT_EQ(ExitCodeAfter(starts[ended], 0), 0u) << "the start that yields ends with 0";
    CloseHandle(starts[ended]);
    HANDLE going = starts[1 - ended];
    HWND wnd = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (wnd = MainWindowOf(pids[1 - ended])) != nullptr; }, 60000))
        << "the main window of the start that goes on";
    EXPECT_EQ(WaitForSingleObject(going, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "the other start goes on";
    PostMessageA(wnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(ExitCodeAfter(going, 60000), 0u) << "closed with 0";
    CloseHandle(going);

    // Once it has ended, a start is the only one again, and goes to the tray.
    DWORD firstPid = 0;
    HANDLE first = StartProgram(Quelmain(), &firstPid);
    ASSERT_NE(first, nullptr) << "a later start";
    ASSERT_TRUE(WaitUntil([&] { return (wnd = MainWindowOf(firstPid)) != nullptr; }, 60000)) << "a later start runs";
    // The window may be seen for a moment while start-up lays it out.
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(wnd); }, 60000))
        << "started minimized to the tray: the window was still visible after 60 s";

    DWORD secondPid = 0;
    HANDLE second = StartProgram(Quelmain(), &secondPid);
    ASSERT_NE(second, nullptr) << "second start";
    EXPECT_EQ(ExitCodeAfter(second, 60000), 0u) << "the second start ends at once with 0";
    CloseHandle(second);
    EXPECT_EQ(WaitForSingleObject(first, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "the first still runs";
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(wnd) != FALSE; }, 60000)) << "the first came out of the tray";

    PostMessageA(wnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(ExitCodeAfter(first, 60000), 0u) << "closed with 0";
    CloseHandle(first);
}

// 'Clean on start' without the logo over one Windows item: the Temp folder is emptied, the
// files beside it stay, the run is logged, and the settings are kept.
TEST_F(QuelmainProcess, CleanOnStartWipesTheChosenItemOnly)
{
    StoreSettings(
        [](TMainFm& fm) {
            fm.SettingsFrame->MyRndRectBtn4->SetDown(true);  // clean on start
            fm.SettingsFrame->MyRndRectBtn7->SetDown(true);  // no logo
        },
        &TWinTFrame::MyRndRectBtn5);  // "Temp" folder
    char tempBuf[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, tempBuf);
    std::string temp = tempBuf;
    if (!temp.empty() && temp.back() == '\\')
        temp.pop_back();
    ASSERT_EQ(temp.substr(0, 3), "C:\\") << temp;
    MakeDirs(temp + "\\trace");
    WriteFileBytes(temp + "\\trace\\session.tmp", std::string(70000, 'x'));
    WriteFileBytes(temp + "\\loose.tmp", "y");
    std::string canaries = ScratchDir("canaries");
    WriteFileBytes(canaries + "\\keep.tmp", "keep");
    std::string recent;
    {
        char buf[MAX_PATH] = "";
        ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, buf, CSIDL_RECENT, TRUE)) << "Recent folder";
        recent = std::string(buf) + "\\kept.lnk";
        WriteFileBytes(recent, "not a Windows item of this run");
    }
    std::string log = ExeDir() + "\\Quelmain.log";
    DeleteFileA(log.c_str());

    DWORD pid = 0;
    HANDLE program = StartProgram(Quelmain(), &pid);
    ASSERT_NE(program, nullptr) << "Quelmain started";
    EXPECT_TRUE(WaitUntil([&] { return !PathExists(temp + "\\trace") && !PathExists(temp + "\\loose.tmp"); }, 60000))
        << "the Temp folder's traces are gone";
    HWND wnd = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (wnd = MainWindowOf(pid)) != nullptr && IsWindowEnabled(wnd); }, 60000))
        << "the run ended and gave the window back";
    PostMessageA(wnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(ExitCodeAfter(program, 60000), 0u) << "closed with 0";
    CloseHandle(program);

    EXPECT_EQ(ReadFileBytes(canaries + "\\keep.tmp"), "keep") << "a file outside the Temp folder";
    EXPECT_TRUE(PathExists(recent)) << "the Recent folder was not an item of this run";
    EXPECT_TRUE(PathExists(temp)) << "the Temp folder itself stays";
    std::string written = PathExists(log) ? ReadFileBytes(log) : std::string("(no log)");
    EXPECT_NE(written.find("Temp"), std::string::npos) << "the run log names the item: " << written;
    EXPECT_EQ(written.find("Recycle"), std::string::npos) << "and no item that was up: " << written;
    TRegistry reg(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKeyReadOnly(COptRWClass::Key)) << "settings key";
    EXPECT_TRUE(reg.ValueExists("WinOpt")) << "settings kept on exit";
}

}  // namespace
