#include "ClasslibTestSupport.h"
#include "TForm.h"
#include "TImageList.h"
#include "TPopupMenu.h"
#include "TTimer.h"
#include "TTrayIcon.h"
#include "TestSupport.h"
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <string>

using namespace testing_support;

namespace {

// The shell changes only an icon it has.
bool ShellHasIcon(HWND wnd)
{
    NOTIFYICONDATAA nid = {};
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = wnd;
    nid.uID = TTrayIcon::IconId;
    return Shell_NotifyIconA(NIM_MODIFY, &nid) != FALSE;
}

int IconMismatches(HICON icon, TImageList& list, int index)
{
    const TColor background = RGB(1, 2, 3);
    TBitmap drawn;
    drawn.SetSize(list.Width(), list.Height());
    drawn.Canvas().Brush.Color = background;
    drawn.Canvas().FillRect(Rect(0, 0, list.Width(), list.Height()));
    DrawIconEx(drawn.Canvas().DC(), 0, 0, icon, list.Width(), list.Height(), 0, nullptr, DI_NORMAL);
    return PictureMismatches(drawn, 0, 0, list, index, background);
}

void Callback(TTrayIcon& tray, UINT mouse)
{
    SendMessageA(tray.WindowHandle(), TTrayIcon::CallbackMessage, TTrayIcon::IconId, mouse);
}

class TTrayIconTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveDisplay())
            GTEST_SKIP() << "no display";
        ASSERT_TRUE(Icons.LoadFromResourceName("CHECKBOXES"));
        Tray.SetIcons(&Icons);
        Tray.SetHint("Quelora");
        Tray.OnClick = [this](TObject*) { Log += "click;"; };
        Tray.OnDblClick = [this](TObject*) { Log += "dbl;"; };
        Tray.OnRestore = [this](TObject*) { Log += "restore;"; };
        Tray.OnMinimize = [this](TObject*) { Log += "minimize;"; };
    }
    TImageList Icons{nullptr, 15, 15};
    TTrayIcon Tray{nullptr};
    std::string Log;
};

}  // namespace

TEST_F(TTrayIconTest, ShowsThePictureItIsGivenAndComesBackWithTheShell)
{
    HWND wnd = Tray.WindowHandle();
    EXPECT_FALSE(ShellHasIcon(wnd)) << "no icon before Visible";
    Tray.SetVisible(true);
    ASSERT_TRUE(ShellHasIcon(wnd));
    EXPECT_EQ(IconMismatches(Tray.IconHandle(), Icons, 0), 0) << "picture 0, its corner colour left out";
    Tray.SetIconIndex(1);
    EXPECT_EQ(IconMismatches(Tray.IconHandle(), Icons, 1), 0) << "the new picture at once";
    EXPECT_GT(IconMismatches(Tray.IconHandle(), Icons, 0), 0) << "pictures 0 and 1 differ";

    NOTIFYICONDATAA gone = {};
    gone.cbSize = NOTIFYICONDATAA_V1_SIZE;
    gone.hWnd = wnd;
    gone.uID = TTrayIcon::IconId;
    Shell_NotifyIconA(NIM_DELETE, &gone);   // a shell that ends loses every icon
    UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    SendMessageA(wnd, taskbarCreated, 0, 0);
    EXPECT_TRUE(ShellHasIcon(wnd)) << "added again for the new shell";
    Tray.SetVisible(false);
    EXPECT_FALSE(ShellHasIcon(wnd));
    SendMessageA(wnd, taskbarCreated, 0, 0);
    EXPECT_FALSE(ShellHasIcon(wnd)) << "a hidden icon stays away";
}

TEST_F(TTrayIconTest, ButtonsOverTheIconClickRestoreAndOpenTheMenuAtThePointer)
{
    Callback(Tray, WM_LBUTTONDOWN);
    Callback(Tray, WM_LBUTTONUP);
    Callback(Tray, WM_LBUTTONDBLCLK);
    Callback(Tray, WM_LBUTTONUP);
    EXPECT_EQ(Log, "click;restore;dbl;click;");

    TPopupMenu menu(nullptr);
    TMenuItem clean(nullptr);
    clean.SetCaption("Clean Now");
    clean.OnClick = [this](TObject*) { Log += "clean;"; };
    menu.Add(&clean);
    Tray.PopupMenu = &menu;
    SetCursorPos(300, 200);
    RECT shown = {};
    int ticks = 0;
    TTimer chooser(nullptr);
    chooser.SetInterval(30);
    chooser.SetOnTimer([&](TObject*) {
        HWND popup = FindWindowA("#32768", nullptr);
        if (popup && IsWindowVisible(popup) && !shown.right) {
            GetWindowRect(popup, &shown);
            PostMessageA(menu.WindowHandle(), WM_KEYDOWN, VK_DOWN, 0);
            PostMessageA(menu.WindowHandle(), WM_KEYDOWN, VK_RETURN, 0);
        } else if (++ticks > 100) {
            EndMenu();
        }
    });
    Log.clear();
    Callback(Tray, WM_RBUTTONUP);   // returns once the menu closed
    chooser.SetEnabled(false);
    PumpUntil([this] { return !Log.empty(); });
    EXPECT_EQ(shown.left, 300) << "the menu opens at the pointer";
    EXPECT_EQ(shown.top, 200);
    EXPECT_EQ(Log, "clean;") << "the item chosen in the menu";
}

TEST_F(TTrayIconTest, MinimizeHidesTheProgramAndRestoreBringsItBack)
{
    HostForm form(100, 50);
    auto* dialog = new TForm(&form);
    dialog->SetBounds(60, 60, 50, 30);
    dialog->Show();
    TForm hidden(nullptr);
    hidden.Handle();
    auto* mainForm = new TForm(nullptr);   // started minimized: never shown yet
    mainForm->SetWindowState(wsMinimized);
    Application->MainForm = mainForm;
    HWND app = Application->Handle();
    Tray.Minimize();
    EXPECT_FALSE(IsWindowVisible(form.Handle()));
    EXPECT_FALSE(IsWindowVisible(dialog->Handle())) << "a window of a form goes too";
    EXPECT_FALSE(IsWindowVisible(app)) << "no taskbar button";
    EXPECT_TRUE(IsIconic(app));
    Tray.Restore();
    EXPECT_TRUE(IsWindowVisible(form.Handle()));
    EXPECT_TRUE(IsWindowVisible(dialog->Handle()));
    EXPECT_TRUE(IsWindowVisible(app));
    EXPECT_FALSE(IsIconic(app));
    EXPECT_FALSE(IsWindowVisible(hidden.Handle())) << "a form hidden before stays hidden";
    EXPECT_TRUE(IsWindowVisible(mainForm->Handle())) << "a main form that started minimized shows";
    EXPECT_EQ(mainForm->WindowState(), wsNormal);
    EXPECT_EQ(Log, "minimize;restore;");
    mainForm->Free();

    // The system's commands to the application window: the icon's only while it shows.
    Log.clear();
    SendMessageA(app, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsWindowVisible(app)) << "minimized to the taskbar";
    SendMessageA(app, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_EQ(Log, "");
    Tray.SetVisible(true);
    SendMessageA(app, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_FALSE(IsWindowVisible(app)) << "minimized to the icon";
    SendMessageA(app, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(IsWindowVisible(form.Handle()));
    EXPECT_EQ(Log, "minimize;restore;");
}
