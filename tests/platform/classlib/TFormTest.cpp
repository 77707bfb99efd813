#include "ClasslibTestSupport.h"
#include "Dialogs.h"
#include "TApplication.h"
#include "TForm.h"
#include "TFrame.h"
#include "TModalLoops.h"
#include "TTimer.h"
#include "TestSupport.h"
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace testing_support;

namespace {

std::string Events;

class SampleForm : public TForm {
public:
    explicit SampleForm(TComponent* owner) : TForm(owner)
    {
        Name = "SampleFm";
        SetClientSize(120, 80);
        OnCreate = [this](TObject*) { Events += "create(" + std::to_string(Built) + ");"; };
        OnShow = [](TObject*) { Events += "show;"; };
        OnClose = [this](TObject*, TCloseAction& a) {
            Events += "close;";
            a = Action;
        };
        OnDestroy = [](TObject*) { Events += "destroy;"; };
        Built = 1;
    }
    ~SampleForm() override { Events += "deleted;"; }
    int Built = 0;
    TCloseAction Action = caHide;
};

}  // namespace

TEST(TForm, CreateRunsAfterTheConstructorAndFreeIsDeferred)
{
    if (!HaveDisplay())
        GTEST_SKIP() << "no display";
    Events.clear();
    SampleForm* f = NewForm<SampleForm>(nullptr);
    EXPECT_EQ(Events, "create(1);") << "OnCreate sees the whole constructor's work";
    f->Show();
    EXPECT_TRUE(IsWindowVisible(f->Handle()));
    EXPECT_EQ(f->ClientWidth(), 120);
    HWND wnd = f->Handle();
    f->Action = caFree;
    f->Close();
    EXPECT_EQ(Events, "create(1);show;close;") << "the form is not freed inside Close";
    EXPECT_TRUE(IsWindow(wnd));
    Pump();
    EXPECT_EQ(Events, "create(1);show;close;destroy;deleted;");
    EXPECT_FALSE(IsWindow(wnd)) << "its window went with it";
}

TEST(TForm, CloseActionsHideOrKeep)
{
    if (!HaveDisplay())
        GTEST_SKIP() << "no display";
    Events.clear();
    SampleForm* f = NewForm<SampleForm>(nullptr);
    f->Show();
    f->Action = caNone;
    SendMessageA(f->Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindowVisible(f->Handle())) << "caNone keeps the window";
    f->Action = caHide;
    f->Close();
    EXPECT_FALSE(IsWindowVisible(f->Handle())) << "caHide hides it";
    f->Free();
    EXPECT_EQ(Events, "create(1);show;close;close;destroy;deleted;");
}

TEST(TForm, StayOnTopBorderlessAndCentredOnItsOwner)
{
    if (!HaveDisplay())
        GTEST_SKIP() << "no display";
    HostForm owner(400, 300);
    auto* f = new TForm(&owner);
    f->FormStyle = fsStayOnTop;
    f->Position = poOwnerFormCenter;
    f->SetClientSize(100, 50);
    f->Show();
    EXPECT_TRUE(GetWindowLongA(f->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(GetWindowLongA(f->Handle(), GWL_STYLE) & WS_CAPTION) << "no border";
    EXPECT_EQ(GetWindow(f->Handle(), GW_OWNER), owner.Handle());
    EXPECT_EQ(f->Left(), 40 + (400 - 100) / 2);
    EXPECT_EQ(f->Top(), 40 + (300 - 50) / 2);
}

TEST(TTimer, TicksWhileEnabledAndNeverAfterItIsFreed)
{
    int ticks = 0;
    auto* t = new TTimer(nullptr);
    t->SetInterval(20);
    t->SetOnTimer([&](TObject*) { ++ticks; });
    for (int i = 0; i < 30 && ticks < 3; ++i) {
        Sleep(20);
        Application->ProcessMessages();
    }
    EXPECT_GE(ticks, 3) << "enabled by default";
    t->SetEnabled(false);
    int stopped = ticks;
    Sleep(80);
    Application->ProcessMessages();
    EXPECT_EQ(ticks, stopped) << "a disabled timer is silent";
    t->SetEnabled(true);
    Sleep(60);   // ticks wait in the queue...
    t->Free();   // ...for a timer that is gone
    Application->ProcessMessages();
    EXPECT_EQ(ticks, stopped);
}

TEST(TTimer, AHandlerMayFreeItsTimer)
{
    int ticks = 0;
    auto* t = new TTimer(nullptr);
    t->SetInterval(10);
    t->SetOnTimer([&](TObject* s) {
        ++ticks;
        static_cast<TTimer*>(s)->Free();
    });
    for (int i = 0; i < 20; ++i) {
        Sleep(10);
        Application->ProcessMessages();
    }
    EXPECT_EQ(ticks, 1);
}

TEST(TForm, ShowModalKeepsTheOwnerDisabledUntilAResultIsAccepted)
{
    if (!HaveDisplay())
        GTEST_SKIP() << "no display";
    HostForm owner(200, 100);
    auto* dialog = new TForm(&owner);
    dialog->SetClientSize(80, 40);
    std::string seen;
    int asked = 0;
    bool destroyed = false;
    dialog->OnClose = [&](TObject*, TCloseAction& a) { a = ++asked == 1 ? caNone : caFree; };
    dialog->OnDestroy = [&](TObject*) { destroyed = true; };
    int ticks = 0;
    TTimer timer(nullptr);
    timer.SetInterval(20);
    timer.SetOnTimer([&](TObject*) {
        ++ticks;
        if (ticks == 1) {
            seen += IsWindowEnabled(owner.Handle()) ? "owner enabled;" : "owner disabled;";
            seen += IsWindowVisible(dialog->Handle()) ? "shown;" : "hidden;";
            SendMessageA(dialog->Handle(), WM_CLOSE, 0, 0);   // refused by OnClose
        } else if (ticks == 2) {
            seen += dialog->Modal() ? "still modal;" : "ended;";
            dialog->ModalResult = mrOk;
        } else if (ticks > 100) {
            dialog->ModalResult = mrAbort;   // never hang the suite
        }
    });
    int result = dialog->ShowModal();
    timer.SetEnabled(false);
    EXPECT_EQ(seen, "owner disabled;shown;still modal;");
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(asked, 2) << "the close asked OnClose, and so did the result";
    EXPECT_TRUE(IsWindowEnabled(owner.Handle())) << "enabled again";
    EXPECT_FALSE(IsWindowVisible(dialog->Handle()));
    EXPECT_FALSE(destroyed) << "caFree frees it only after ShowModal returned";
    Pump();
    EXPECT_TRUE(destroyed);
}

// A close asked for inside a question box, inside a dialog, inside a dialog: the box ends
// as No, then each dialog as Cancel, innermost first, and the window asked to close is sent
// its close only after the outermost loop has returned.
TEST(TForm, ACloseInsideNestedModalLoopsEndsThemInnermostFirst)
{
    if (!HaveDisplay())
        GTEST_SKIP() << "no display";
    HostForm host(200, 100);
    host.Show();
    std::string seen;
    host.OnClose = [&](TObject*, TCloseAction& a) {
        seen += "host closed;";
        a = caHide;
    };
    auto* outer = new TForm(&host);
    auto* inner = new TForm(outer);
    int step = 0;
    TTimer timer(nullptr);
    timer.SetInterval(20);
    timer.SetOnTimer([&](TObject*) {
        int now = ++step;
        if (now == 1) {
            int result = inner->ShowModal();
            seen += "inner " + std::to_string(result) + ";";
        } else if (now == 2) {
            int answer = MessageDlg("Go on?", mtConfirmation, mbYesNo);
            seen += "box " + std::to_string(answer) + ";";
        } else if (now == 3) {
            seen += "loops " + std::to_string(ModalLoops->Count()) + ";";
            EXPECT_TRUE(ModalLoops->CloseAfterLoops(host.Handle())) << "a loop runs";
        } else if (now > 300) {
            // never hang the suite
            outer->ModalResult = inner->ModalResult = mrAbort;
            if (HWND box = GetLastActivePopup(inner->Handle()))
                PostMessageA(box, WM_COMMAND, IDYES, 0);
        }
    });
    int result = outer->ShowModal();
    seen += "outer " + std::to_string(result) + ";";
    timer.SetEnabled(false);
    Pump();
    EXPECT_EQ(seen, "loops 3;box " + std::to_string(mrNo) + ";inner " + std::to_string(mrCancel) + ";outer " +
                        std::to_string(mrCancel) + ";host closed;");
    EXPECT_EQ(ModalLoops->Count(), 0) << "no loop left in the record";
    EXPECT_FALSE(ModalLoops->CloseWaiting()) << "the close was carried out";
    EXPECT_FALSE(ModalLoops->CloseAfterLoops(host.Handle())) << "without a loop a close is not deferred";
    EXPECT_TRUE(IsWindowEnabled(host.Handle())) << "the outer dialog gave its owner back";
}

class HotKeyForm : public TForm {
public:
    using TForm::TForm;
    void Dispatch(TMessage& m) override
    {
        if (m.Msg == WM_HOTKEY)
            Ids.push_back(m.WParam);
        TForm::Dispatch(m);
    }
    std::vector<WPARAM> Ids;
};

TEST(TForm, AHotKeyReachesTheFormsDispatch)
{
    if (!HaveDisplay())
        GTEST_SKIP() << "no display";
    HotKeyForm form(nullptr);
    form.Show();
    ASSERT_TRUE(RegisterHotKey(form.Handle(), 33, MOD_ALT, 'Z')) << "error " << GetLastError();
    INPUT keys[4] = {};
    const WORD vk[4] = {VK_MENU, 'Z', 'Z', VK_MENU};
    for (int i = 0; i < 4; ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = vk[i];
        keys[i].ki.dwFlags = i < 2 ? 0 : KEYEVENTF_KEYUP;
    }
    SendInput(4, keys, sizeof(INPUT));
    PumpUntil([&] { return !form.Ids.empty(); }, 30000);
    UnregisterHotKey(form.Handle(), 33);
    if (form.Ids.empty())
        GTEST_SKIP() << "this display turned the keys sent into no hot key";
    EXPECT_EQ(form.Ids, std::vector<WPARAM>{33});
}

TEST(TForm, TheWheelOverAFrameReachesTheFormOnce)
{
    if (!HaveDisplay())
        GTEST_SKIP() << "no display";
    HostForm host(200, 100);
    auto* frame = new TFrame(&host);
    frame->SetBounds(0, 0, 100, 50);
    frame->SetParent(&host);
    std::string log;
    host.OnMouseWheelDown = [&](TObject*, TShiftState, POINT, bool&) { log += "down;"; };
    host.OnMouseWheelUp = [&](TObject*, TShiftState, POINT, bool& handled) {
        log += "up;";
        handled = true;
    };
    auto turn = [](HWND wnd, short delta) {
        SendMessageA(wnd, WM_MOUSEWHEEL, MAKEWPARAM(0, delta), MAKELPARAM(60, 60));
    };
    turn(frame->Handle(), -120);
    turn(frame->Handle(), 120);
    turn(host.Handle(), -240);
    EXPECT_EQ(log, "down;up;down;") << "unhandled or not, the form sees each turn once";
    host.OnMouseWheel = [&](TObject*, TShiftState, int delta, POINT, bool& handled) {
        log += "wheel" + std::to_string(delta) + ";";
        handled = true;
    };
    log.clear();
    turn(frame->Handle(), -120);
    EXPECT_EQ(log, "wheel-120;") << "OnMouseWheel handled it";
}
