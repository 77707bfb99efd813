#include "ClasslibTestSupport.h"
#include "TImageList.h"
#include "TPopupMenu.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>

using namespace testing_support;

namespace {

MENUITEMINFOA ItemInfo(HMENU menu, UINT position, char* text = nullptr, UINT size = 0)
{
    MENUITEMINFOA mi = {};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_BITMAP | MIIM_STRING;
    mi.dwTypeData = text;
    mi.cch = size;
    GetMenuItemInfoA(menu, position, TRUE, &mi);
    return mi;
}

std::string ItemText(HMENU menu, UINT position)
{
    char text[64] = "";
    ItemInfo(menu, position, text, sizeof text);
    return text;
}

}  // namespace

TEST(TPopupMenu, ItemsAndTheirChangesReachTheMenuAndItsCommandsTheirOnClick)
{
    if (!HaveDisplay())
        GTEST_SKIP() << "no display";
    TImageList images(nullptr, 15, 15);
    ASSERT_TRUE(images.LoadFromResourceName("CHECKBOXES"));
    TPopupMenu menu(nullptr);
    menu.Images = &images;
    TMenuItem clean(nullptr), line(nullptr);
    auto* about = new TMenuItem(nullptr);
    clean.SetCaption("Clean Now");
    clean.SetImageIndex(6);
    line.SetCaption("-");
    about->SetCaption("About...");
    about->SetEnabled(false);
    std::string log;
    clean.OnClick = [&](TObject* s) { log += s == &clean ? "clean;" : "?;"; };
    about->OnClick = [&](TObject*) { log += "about;"; };
    menu.Add(&clean);
    menu.Add(&line);
    menu.Add(about);

    HMENU h = menu.Handle();
    ASSERT_EQ(GetMenuItemCount(h), 3);
    EXPECT_EQ(ItemText(h, 0), "Clean Now");
    EXPECT_EQ(ItemInfo(h, 0).wID, clean.Command());
    EXPECT_EQ(ItemInfo(h, 0).hbmpItem, HBMMENU_CALLBACK) << "the picture is drawn on request";
    EXPECT_TRUE(ItemInfo(h, 1).fType & MFT_SEPARATOR);
    EXPECT_TRUE(ItemInfo(h, 2).fState & MFS_GRAYED);
    about->SetCaption("About Quelora");
    about->SetEnabled(true);
    EXPECT_EQ(ItemText(h, 2), "About Quelora") << "a change reaches the menu at once";
    EXPECT_FALSE(ItemInfo(h, 2).fState & MFS_GRAYED);

    HWND wnd = menu.WindowHandle();
    SendMessageA(wnd, WM_COMMAND, clean.Command(), 0);
    about->SetEnabled(false);
    SendMessageA(wnd, WM_COMMAND, about->Command(), 0);
    EXPECT_EQ(log, "clean;") << "a disabled item does not click";
    about->Free();
    EXPECT_EQ(GetMenuItemCount(h), 2) << "a freed item leaves the menu";

    // The picture drawn when the menu asks, its transparent colour left out.
    const TColor menuColour = RGB(10, 20, 30);
    TBitmap drawn;
    auto draw = [&] {
        drawn.SetSize(40, 20);
        drawn.Canvas().Brush.Color = menuColour;
        drawn.Canvas().FillRect(Rect(0, 0, 40, 20));
        DRAWITEMSTRUCT di = {};
        di.CtlType = ODT_MENU;
        di.itemID = clean.Command();
        di.hDC = drawn.Canvas().DC();
        di.rcItem = Rect(2, 0, 22, 19);
        SendMessageA(wnd, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&di));
    };
    draw();
    EXPECT_EQ(PictureMismatches(drawn, 2, 2, images, 6, menuColour), 0) << "picture 6, centred";
    clean.SetImageIndex(2);
    draw();
    EXPECT_EQ(PictureMismatches(drawn, 2, 2, images, 2, menuColour), 0) << "a new number, the new picture";
    images.GetBitmap(3, clean.Bitmap);
    clean.SetImageIndex(-1);
    draw();
    EXPECT_EQ(PictureMismatches(drawn, 2, 2, images, 3, menuColour), 0) << "without a number, its own picture";
}
