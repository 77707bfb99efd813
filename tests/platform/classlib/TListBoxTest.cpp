#include "TListBox.h"
#include "TestSupport.h"
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace testing_support;

class TListBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveDisplay())
            GTEST_SKIP() << "no display";
        Host.reset(new HostForm(300, 200));
        List = new TListBox(Host.get());
        List->SetBounds(10, 10, 150, 130);
    }
    std::string WindowText(int i)
    {
        char text[64] = "";
        SendMessageA(List->Handle(), LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        return text;
    }
    std::unique_ptr<HostForm> Host;
    TListBox* List = nullptr;
};

TEST_F(TListBoxTest, RowsObjectsAndSelectionStayInStepWithTheWindow)
{
    int a = 1, b = 2, c = 3;
    List->Sorted = true;
    List->Items.AddObject("b", &b);   // before the window exists
    List->SetParent(Host.get());
    EXPECT_EQ(List->Items.AddObject("C", &c), 1) << "sorted without regard to case";
    EXPECT_EQ(List->Items.AddObject("a", &a), 0);
    List->Items.Insert(0, "zz");
    ASSERT_EQ(SendMessageA(List->Handle(), LB_GETCOUNT, 0, 0), 4);
    const char* order[] = {"zz", "a", "b", "C"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(List->Items[i], order[i]) << "row " << i;
        EXPECT_EQ(WindowText(i), order[i]) << "window row " << i;
    }
    EXPECT_EQ(List->Items.Objects(2), &b) << "the object follows its row";
    List->SetItemIndex(2);
    List->Items.Delete(0);
    EXPECT_EQ(List->ItemIndex(), 1) << "the selection follows its row up";
    EXPECT_EQ(SendMessageA(List->Handle(), LB_GETCURSEL, 0, 0), 1) << "in the window too";
    List->Items.Delete(1);
    EXPECT_EQ(List->ItemIndex(), -1) << "a deleted selected row leaves none";
    EXPECT_EQ(SendMessageA(List->Handle(), LB_GETITEMHEIGHT, 0, 0), 13) << "fixed rows of 13";
    LONG style = GetWindowLongA(List->Handle(), GWL_STYLE);
    EXPECT_EQ(style & (LBS_OWNERDRAWFIXED | LBS_NOTIFY | WS_VSCROLL), LBS_OWNERDRAWFIXED | LBS_NOTIFY) << "owner-drawn, no bar";
}

TEST_F(TListBoxTest, RowsAreDrawnByTheHandlerAndKeysMoveTheSelectionWithAClick)
{
    List->SetParent(Host.get());
    for (const char* s : {"one", "two", "three"})
        List->Items.Add(s);
    List->SetItemIndex(1);
    std::vector<int> drawn;
    std::vector<RECT> rects;
    TColor selectedBrush = 0;
    List->OnDrawItem = [&](TObject*, int index, RECT r, TOwnerDrawState state) {
        drawn.push_back(index);
        rects.push_back(r);
        if (state & odSelected)
            selectedBrush = List->Canvas.Brush.Color;
        List->Canvas.FillRect(r);
    };
    List->Invalidate();
    List->Update();
    ASSERT_EQ(drawn.size(), 3u) << "every row drawn by the handler";
    EXPECT_TRUE(rects[2].top == 26 && rects[2].bottom == 39) << "row 2 from 26, 13 high: " << rects[2].top;
    EXPECT_EQ(selectedBrush, GetSysColor(COLOR_HIGHLIGHT)) << "the selected row's brush is chosen for it";

    int clicks = 0, clickedAt = -2;
    List->OnClick = [&](TObject*) {
        ++clicks;
        clickedAt = List->ItemIndex();
    };
    std::vector<WORD> keys;
    List->OnKeyDown = [&](TObject*, WORD& key, TShiftState) {
        keys.push_back(key);
        if (key == VK_UP)
            key = 0;
    };
    SetFocus(List->Handle());
    SendMessageA(List->Handle(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(keys, std::vector<WORD>{VK_DOWN}) << "the handler sees the key first";
    EXPECT_EQ(clicks, 1) << "a keyboard selection is a click";
    EXPECT_EQ(clickedAt, 2) << "with the new selection read";
    SendMessageA(List->Handle(), WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(List->ItemIndex(), 2) << "a key the handler took does not reach the list";
    List->SetItemIndex(0);
    EXPECT_EQ(clicks, 1) << "the program's selection is no click";
}
