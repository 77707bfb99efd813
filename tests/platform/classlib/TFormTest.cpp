#include "TApplication.h"
#include "TForm.h"
#include "TTimer.h"
#include "TestSupport.h"
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

#include <string>

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
