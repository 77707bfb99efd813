#include "TComboBox.h"
#include "TFrame.h"
#include "TGraphicControl.h"
#include "TestSupport.h"
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

using namespace testing_support;

class TItemBtn : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
};

class TDerivedItemBtn : public TItemBtn {
public:
    using TItemBtn::TItemBtn;
};

TEST(TFrame, OwnsItsComponentsInCreationOrderAndTellsTheirExactClass)
{
    TFrame frame(nullptr);
    auto* first = new TItemBtn(&frame);
    auto* combo = new TComboBox(&frame);
    auto* derived = new TDerivedItemBtn(&frame);
    ASSERT_EQ(frame.ComponentCount(), 3);
    EXPECT_EQ(frame.Components(0), first);
    EXPECT_EQ(frame.Components(1), combo);
    EXPECT_EQ(frame.Components(2), derived);
    std::string exact, inherited;
    for (int i = 0; i < frame.ComponentCount(); ++i) {
        exact += frame.Components(i)->ClassIs<TItemBtn>() ? "1" : "0";
        inherited += frame.Components(i)->InheritsFrom<TItemBtn>() ? "1" : "0";
    }
    EXPECT_EQ(exact, "100") << "a derived class is not the class itself";
    EXPECT_EQ(inherited, "101");
    EXPECT_EQ(derived->ClassName(), "TDerivedItemBtn");
    EXPECT_EQ(frame.ClassName(), "TFrame");
}

TEST(TFrame, GetsItsWindowInItsParentsAndTakesClicksOnItsSurface)
{
    if (!HaveDisplay())
        GTEST_SKIP() << "no display";
    // Built before the form has a window, as a form's constructor builds its frames.
    TForm form(nullptr);
    form.SetBounds(40, 40, 300, 200);
    auto* frame = new TFrame(&form);
    frame->SetBounds(10, 20, 200, 100);
    frame->SetParent(&form);
    auto* combo = new TComboBox(frame);
    combo->SetParent(frame);
    EXPECT_FALSE(frame->HandleAllocated());
    form.Show();
    ASSERT_TRUE(frame->HandleAllocated()) << "made with the form's window";
    EXPECT_EQ(GetParent(frame->Handle()), form.Handle());
    EXPECT_EQ(GetParent(combo->Handle()), frame->Handle()) << "and the controls on it with it";
    EXPECT_TRUE(IsWindowVisible(combo->Handle()));

    frame->SetTop(33);
    frame->SetHeight(288);
    RECT r;
    GetWindowRect(frame->Handle(), &r);
    MapWindowPoints(nullptr, form.Handle(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.top, 33);
    EXPECT_EQ(r.bottom - r.top, 288);
    int clicks = 0;
    frame->OnClick = [&](TObject* s) { clicks += s == frame; };
    Press(*frame, 150, 50);
    Release(*frame, 150, 50);
    EXPECT_EQ(clicks, 1);
}
