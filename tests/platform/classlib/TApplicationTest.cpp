#include "ClasslibTestSupport.h"
#include "Dialogs.h"
#include "TApplication.h"
#include "TGraphicControl.h"
#include "THintWindow.h"
#include "TestSupport.h"
#include "WindowTestSupport.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <string>
#include <thread>

using namespace testing_support;

TEST(TApplication, InitializeMakesTheThreadASingleThreadedApartment)
{
    Application->Initialize();
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
    HRESULT again = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    EXPECT_EQ(again, S_FALSE) << "already an apartment of that kind";
    if (SUCCEEDED(again))
        CoUninitialize();
}

TEST(TApplication, HooksSeeTheApplicationWindowsMessagesFirst)
{
    if (!HaveDisplay())
        GTEST_SKIP() << "no display";
    const UINT id = RegisterWindowMessageA("QueloraTestAnnounce");
    std::string log;
    int first = Application->HookMainWindow([&](TMessage& m) {
        if (m.Msg != id)
            return false;
        log += "first" + std::to_string(m.WParam) + ";";
        m.Result = 7;
        return m.WParam == 1;
    });
    int second = Application->HookMainWindow([&](TMessage& m) {
        if (m.Msg == id)
            log += "second;";
        return false;
    });
    HWND app = Application->Handle();
    PostMessageA(HWND_BROADCAST, id, 1, 0);   // as another program announces itself
    PumpUntil([&] { return !log.empty(); });
    EXPECT_EQ(log, "first1;") << "a handled message goes no further";
    log.clear();
    EXPECT_EQ(SendMessageA(app, id, 1, 0), 7) << "the hook's answer";
    EXPECT_EQ(SendMessageA(app, id, 2, 0), 0);
    EXPECT_EQ(log, "first1;first2;second;");
    Application->UnhookMainWindow(first);
    log.clear();
    SendMessageA(app, id, 1, 0);
    EXPECT_EQ(log, "second;");
    Application->UnhookMainWindow(second);
}

TEST(TApplication, TheHintOfTheControlUnderThePointerShowsAfterAPauseAndHidesAgain)
{
    if (!HaveDisplay())
        GTEST_SKIP() << "no display";
    HostForm host(200, 100);
    auto* button = new TGraphicControl(&host);
    button->SetBounds(10, 10, 50, 30);
    button->SetParent(&host);
    button->Hint = "Clean button";
    button->ShowHint = true;
    auto* quiet = new TGraphicControl(&host);
    quiet->SetBounds(100, 10, 50, 30);
    quiet->SetParent(&host);
    quiet->Hint = "switched off";
    Application->HintPause = 50;
    Application->HintHidePause = 500;
    Application->HintColor = RGB(255, 255, 212);
    auto hintShown = [] { return Application->HintWindow() && IsWindowVisible(Application->HintWindow()->Handle()); };

    MoveTo(host, 110, 20);
    EXPECT_FALSE(PumpUntil(hintShown, 300)) << "ShowHint off";
    MoveTo(host, 20, 20);
    Leave(host);
    EXPECT_FALSE(PumpUntil(hintShown, 300)) << "left before the pause was over";
    MoveTo(host, 20, 20);
    DWORD start = GetTickCount();
    ASSERT_TRUE(PumpUntil(hintShown));
    THintWindow* hint = Application->HintWindow();
    EXPECT_EQ(hint->Caption(), "Clean button");
    EXPECT_EQ(hint->Width(), hint->Canvas.TextWidth("Clean button") + 6) << "sized to the text";
    EXPECT_EQ(hint->Height(), hint->Canvas.TextHeight("Clean button") + 4);
    EXPECT_TRUE(GetWindowLongA(hint->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    TBitmap shot;
    Render(*hint, shot);
    EXPECT_EQ(shot.Pixel(0, 0), clBlack) << "framed";
    EXPECT_EQ(shot.Pixel(1, 1), RGB(255, 255, 212)) << "in the hint colour";
    ASSERT_TRUE(PumpUntil([&] { return !hintShown(); })) << "hidden again";
    EXPECT_GE(GetTickCount() - start, 500u) << "after the hide pause";
}

static BOOL CALLBACK AddText(HWND child, LPARAM all)
{
    *reinterpret_cast<std::string*>(all) += WindowText(child) + "|";
    return TRUE;
}

TEST(ShowMessage, ShowsTheTextUnderTheApplicationsTitle)
{
    if (!HaveDisplay())
        GTEST_SKIP() << "no display";
    Application->SetTitle("Quelora");
    std::string title, text;
    std::thread closer([&] {
        HWND box = WaitForWindow(GetCurrentProcessId(), "#32770", 60000);
        if (!box)
            return;
        title = WindowText(box);
        EnumChildWindows(box, AddText, reinterpret_cast<LPARAM>(&text));
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    ShowMessage("Error opening the English file!");
    closer.join();
    EXPECT_EQ(title, "Quelora");
    EXPECT_NE(text.find("Error opening the English file!|"), std::string::npos) << text;
}
