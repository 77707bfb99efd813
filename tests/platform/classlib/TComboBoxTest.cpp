#include "TComboBox.h"
#include "TestSupport.h"
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace testing_support;

class TComboBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveDisplay())
            GTEST_SKIP() << "no display";
        Host.reset(new HostForm(300, 200));
        Combo = new TComboBox(Host.get());
        Combo->SetBounds(10, 10, 120, 21);
        Combo->SetParent(Host.get());
    }
    LRESULT Send(UINT msg, WPARAM wParam = 0) { return SendMessageA(Combo->Handle(), msg, wParam, 0); }
    std::unique_ptr<HostForm> Host;
    TComboBox* Combo = nullptr;
};

TEST_F(TComboBoxTest, ItemIndexIsAValidIndexOrMinusOne)
{
    char cls[32] = "";
    GetClassNameA(Combo->Handle(), cls, sizeof cls);
    EXPECT_STRCASEEQ(cls, "ComboBox");
    EXPECT_EQ(GetWindowLongA(Combo->Handle(), GWL_STYLE) & CBS_DROPDOWNLIST, CBS_DROPDOWNLIST) << "a list to pick from";
    Combo->Items.Add("10 min");
    Combo->Items.Add("20 min");
    EXPECT_EQ(Combo->ItemIndex(), -1) << "nothing chosen at first";
    Combo->SetItemIndex(1);
    EXPECT_EQ(Combo->ItemIndex(), 1);
    EXPECT_EQ(Combo->Text(), "20 min");
    EXPECT_EQ(Send(CB_GETCURSEL), 1) << "the window shows the choice";
    Combo->SetItemIndex(2);
    EXPECT_EQ(Combo->ItemIndex(), -1) << "past the end chooses nothing";
    EXPECT_EQ(Send(CB_GETCURSEL), CB_ERR);
    EXPECT_EQ(Combo->Text(), "");
    Combo->SetItemIndex(0);
    Combo->SetItemIndex(-7);
    EXPECT_EQ(Combo->ItemIndex(), -1) << "below -1 chooses nothing";
    Combo->Items.Add("30 min");
    EXPECT_EQ(Send(CB_GETCOUNT), 3);
    Combo->SetItemIndex(2);
    Combo->Items.Clear();
    EXPECT_EQ(Combo->ItemIndex(), -1) << "a cleared list has no choice";
    EXPECT_EQ(Send(CB_GETCOUNT), 0);
    EXPECT_LT(Combo->Height(), 40) << "the height is the closed box's, not the open list's";
}

TEST_F(TComboBoxTest, TheUsersChoiceAndTheListClosingAreReported)
{
    for (const char* item : {"a", "b", "c"})
        Combo->Items.Add(item);
    std::string log;
    Combo->OnChange = [&](TObject*) { log += "change" + std::to_string(Combo->ItemIndex()) + ";"; };
    Combo->OnCloseUp = [&](TObject*) { log += "closeup" + std::to_string(Combo->ItemIndex()) + ";"; };
    Send(WM_KEYDOWN, VK_DOWN);
    Send(WM_KEYDOWN, VK_DOWN);
    Send(CB_SHOWDROPDOWN, TRUE);
    Send(CB_SHOWDROPDOWN, FALSE);
    EXPECT_EQ(log, "change0;change1;closeup1;");

    SetFocus(Combo->Handle());
    if (GetFocus() != Combo->Handle())
        GTEST_SKIP() << "this display gave the combo box no focus";
    EXPECT_EQ(Host->ActiveControl(), Combo);
    Host->SetActiveControl(nullptr);
    EXPECT_EQ(GetFocus(), Host->Handle()) << "the form itself keeps the focus";
    EXPECT_EQ(Host->ActiveControl(), nullptr);
}

TEST_F(TComboBoxTest, ATypedKeyOpensTheListOnlyWithAutoDropDown)
{
    for (const char* item : {"apple", "berry", "cherry"})
        Combo->Items.Add(item);
    int closeUps = 0;
    Combo->OnCloseUp = [&](TObject*) { ++closeUps; };
    Host->Show();
    // Wine closes an open list again when a typed key chooses in it: the list was open if
    // it still is or its closing was reported.
    Send(WM_CHAR, 'b');
    EXPECT_FALSE(Send(CB_GETDROPPEDSTATE) || closeUps > 0)
        << "without AutoDropDown the list stays closed (" << closeUps << " closings)";
    Combo->AutoDropDown = true;
    Send(WM_CHAR, 'c');
    EXPECT_TRUE(Send(CB_GETDROPPEDSTATE) || closeUps > 0) << "with AutoDropDown a typed key opens the list";
    Send(CB_SHOWDROPDOWN, FALSE);
    EXPECT_EQ(Combo->ItemIndex(), 2) << "and the key still chooses";
}
