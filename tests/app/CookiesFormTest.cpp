#include "CookiesForm.h"
#include "DialogTestSupport.h"
#include "MainForm.h"
#include "TApplication.h"
#include "TRegistry.h"
#include "TestSupport.h"
#include "WindowTestSupport.h"

#include <gtest/gtest.h>
#include <wininet.h>

#include <string>
#include <vector>

using namespace testing_support;
using namespace dialog_test;

namespace {

std::string KeepFile()
{
    return ExeDir() + "\\CookiesToKeep.dat";
}

void AddCookie(const std::string& url)
{
    char file[MAX_PATH] = {};
    ASSERT_TRUE(CreateUrlCacheEntryA(url.c_str(), 0, "txt", file, 0)) << url;
    WriteFileBytes(file, "x");
    FILETIME none = {};
    ASSERT_TRUE(CommitUrlCacheEntryA(url.c_str(), file, none, none, COOKIE_CACHE_ENTRY, nullptr, 0, nullptr, nullptr))
        << url << " error " << GetLastError();
}

std::vector<std::string> Rows(TTListBoxFrame* frame)
{
    std::vector<std::string> rows;
    for (int i = 0; i < frame->ListBox1->Items.Count(); ++i)
        rows.push_back(frame->ListBox1->Items[i]);
    return rows;
}

std::vector<std::string> RowsOf(const TStringList& list)
{
    std::vector<std::string> rows;
    for (const std::string& e : list.Items)
        rows.push_back(TCookiesFm::RowText(e, 0));
    return rows;
}

}  // namespace

TEST(CookieRows, CutOutByKindAndNeverAtTheLastCharacter)
{
    struct Case {
        const char* entry;
        unsigned char kind;
        const char* row;
    } cases[] = {
        {"Cookie:user@host.example/", 0, "cookie:  host.example"},
        {"Cookie:a@b@c/", 0, "cookie:  b@c"},
        {"Cookie:user@", 0, "Cookie:user@"},
        {"@", 0, "@"},
        {"no separator", 0, "no separator"},
        {".host.example\tTRUE\t/\tFALSE\t0\tid\t1", 1, "cookie:  .host.example"},
        {"Cookie:user@host/", 1, "Cookie:user@host/"},
        {"host\t", 1, "host\t"},
        {"", 1, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TCookiesFm::RowText(c.entry, c.kind), c.row) << "entry \"" << c.entry << "\" kind " << int(c.kind);
    std::vector<std::string> found = {"a", "b", "a", "A", "c"};
    TCookiesFm::DropKept(found, {"a", "stale"});
    EXPECT_EQ(found, (std::vector<std::string>{"b", "A", "c"})) << "both equal entries go, case counts";
}

class CookiesWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveDisplay())
            GTEST_SKIP() << "no display";
        for (const char* c : {"Cookie:ann@one.example/", "Cookie:bob@two.example/", "Cookie:cy@three.example/"})
            AddCookie(c);
        WriteFileBytes(KeepFile(), "Cookie:bob@two.example/\r\nCookie:old@gone.example/\r\n");
    }
    void TearDown() override
    {
        if (Fm)
            Fm->Free();
        DeleteFileA(KeepFile().c_str());
    }
    void Open()
    {
        Fm = NewForm<TCookiesFm>(nullptr);
        Fm->SetBrowser(0);
    }
    // Each list box row shows its list's entry of the same index.
    void ExpectInStep(const char* when)
    {
        EXPECT_EQ(Rows(Fm->ListBoxFrame1), RowsOf(Fm->Cleaner()->FoundCookies)) << when << ": delete list";
        EXPECT_EQ(Rows(Fm->ListBoxFrame2), RowsOf(Fm->Cleaner()->CookiesToKeep)) << when << ": keep list";
        EXPECT_EQ(Fm->ListBoxFrame1->ListBox1->Height(), 13 * Fm->ListBoxFrame1->ListBox1->Items.Count()) << when;
        EXPECT_EQ(Fm->ListBoxFrame2->ListBox1->Height(), 13 * Fm->ListBoxFrame2->ListBox1->Items.Count()) << when;
    }
    TCookiesFm* Fm = nullptr;
};

TEST_F(CookiesWindowTest, MovesKeepTheListsTheRowsAndTheSelectionInStep)
{
    Open();
    ExpectInStep("opened");
    Fm->ListBoxFrame1->ListBox1->SetItemIndex(1);
    Fm->Show();
    EXPECT_TRUE(Snapshot(*Fm, "cookies_window.png"));
    Fm->ListBoxFrame1->ListBox1->SetItemIndex(-1);
    ASSERT_EQ(Fm->Cleaner()->FoundCookies.Count(), 2) << "the kept cookie is not offered for deletion";
    EXPECT_EQ(Fm->Cleaner()->CookiesToKeep[1], "Cookie:old@gone.example/") << "a stale keep entry stays listed";
    EXPECT_EQ(Fm->ListBoxFrame1->ListBox1->ItemIndex(), -1) << "nothing selected at first";
    Fm->MyGraphicBtn2Click(nullptr);
    ExpectInStep("move with nothing selected");

    TListBox* del = Fm->ListBoxFrame1->ListBox1;
    TListBox* keep = Fm->ListBoxFrame2->ListBox1;
    struct Step {
        bool toKeep;
        int select;
        int selectedAfter;
    } steps[] = {
        {true, 0, 0},     // first of two: the row that followed
        {true, 0, -1},    // the only row: none left
        {false, 3, 2},    // the last of four: the new last row
        {false, 1, 1},    // a middle row: the row that followed
    };
    for (const Step& s : steps) {
        TListBox* from = s.toKeep ? del : keep;
        TListBox* to = s.toKeep ? keep : del;
        from->SetItemIndex(s.select);
        std::string row = from->Items[s.select];
        int otherSelection = to->ItemIndex();
        if (s.toKeep)
            Fm->MyGraphicBtn2Click(nullptr);
        else
            Fm->MyGraphicBtn3Click(nullptr);
        std::string what = std::string(s.toKeep ? "to keep" : "back") + " row " + std::to_string(s.select);
        ExpectInStep(what.c_str());
        EXPECT_EQ(from->ItemIndex(), s.selectedAfter) << what << ": selection after";
        EXPECT_EQ(to->Items[to->Items.Count() - 1], row) << what << ": the row lands at the bottom unchanged";
        EXPECT_EQ(to->ItemIndex(), otherSelection) << what << ": the other list's selection stays";
    }
    EXPECT_FALSE(Fm->StretchScroll1->Visible()) << "three rows need no bar";
}

TEST_F(CookiesWindowTest, OkWritesTheKeepListCancelWritesNothingAndAFailedSaveKeepsTheWindow)
{
    std::string before = ReadFileBytes(KeepFile());
    Open();
    Fm->ListBoxFrame1->ListBox1->SetItemIndex(0);
    Fm->MyGraphicBtn2Click(nullptr);
    Fm->MyGraphicBtn1Click(nullptr);
    Fm = nullptr;
    Pump();
    EXPECT_EQ(ReadFileBytes(KeepFile()), before) << "Cancel after a move writes nothing";

    Open();
    std::string moved = Fm->Cleaner()->FoundCookies[0];
    Fm->ListBoxFrame1->ListBox1->SetItemIndex(0);
    Fm->MyGraphicBtn2Click(nullptr);
    // The keep list's place taken by a folder: the save cannot create the file.
    DeleteFileA(KeepFile().c_str());
    ASSERT_TRUE(CreateDirectoryA(KeepFile().c_str(), nullptr));
    EXPECT_ANY_THROW(Fm->MyGraphicBtn4Click(nullptr)) << "the failure reaches the user";
    Pump();
    ASSERT_NE(Fm->Cleaner(), nullptr) << "the window stays open with its cleaner";
    EXPECT_EQ(Fm->Cleaner()->CookiesToKeep.Count(), 3) << "and the user's lists";
    RemoveDirectoryA(KeepFile().c_str());
    Fm->MyGraphicBtn4Click(nullptr);
    Fm = nullptr;
    Pump();
    EXPECT_EQ(ReadFileBytes(KeepFile()), "Cookie:bob@two.example/\r\nCookie:old@gone.example/\r\n" + moved + "\r\n")
        << "OK writes the keep list";
}

TEST_F(CookiesWindowTest, TheTrayItemsAreLockedWhileOpenAndBackAfterEvenWhenTheKeepListCannotBeRead)
{
    TRegistry(HKEY_CURRENT_USER).DeleteKey("Software\\Ostrand");
    MainFm = NewForm<TMainFm>(nullptr);
    bool lockedWhileOpen = false, windowShown = false;
    Later([&] {
        lockedWhileOpen = !MainFm->N19->Enabled() && !MainFm->HideShow1->Enabled() && !MainFm->PopUpAction->Enabled();
        windowShown = CookiesFm && IsWindowVisible(CookiesFm->Handle());
        CookiesFm->MyGraphicBtn1Click(nullptr);
    });
    MainFm->IETFrame1MyGraphicBtn2Click(nullptr);
    EXPECT_TRUE(windowShown) << "the Internet Explorer button opens the window";
    EXPECT_TRUE(lockedWhileOpen) << "run items locked while it is open";
    EXPECT_TRUE(MainFm->N19->Enabled()) << "Clean Now back after";
    EXPECT_EQ(MainFm->MyGraphicLabel3->Caption(), "Internet Explorer") << "the group label names the browser";

    // A keep list held open without sharing cannot be read.
    HANDLE held = CreateFileA(KeepFile().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    bool boxShown = false;
    Later([&] {
        HWND box = MessageBoxOfThisThread();
        boxShown = box != nullptr;
        lockedWhileOpen = !MainFm->N19->Enabled();
        if (box)
            PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    MainFm->IETFrame1MyGraphicBtn2Click(nullptr);
    CloseHandle(held);
    EXPECT_TRUE(boxShown) << "the failure is shown";
    EXPECT_EQ(CookiesFm, nullptr) << "no window is left";
    EXPECT_TRUE(MainFm->N19->Enabled() && MainFm->HideShow1->Enabled() && MainFm->PopUpAction->Enabled())
        << "the run items are unlocked after the failure";
    MainFm->Free();
    MainFm = nullptr;
}

// The scrolled-list frame with its bar, as the three list windows use it.
TEST_F(CookiesWindowTest, TheListFrameScrollsByRowsPagesAndEnds)
{
    Open();
    TTListBoxFrame* frame = Fm->ListBoxFrame1;
    TStretchScroll* bar = Fm->StretchScroll1;
    TListBox* list = frame->ListBox1;
    list->Items.Clear();
    for (int i = 0; i < 20; ++i)
        list->Items.Add("row " + std::to_string(i));
    frame->FitRows(bar);
    ASSERT_EQ(frame->Height(), 130);
    EXPECT_EQ(list->Height(), 20 * 13) << "the list box is as tall as its rows";
    EXPECT_TRUE(bar->Visible()) << "20 rows need the bar";
    EXPECT_EQ(bar->SControlWH(), 20 * 13 - 130) << "the range";

    list->SetItemIndex(12);
    frame->KeepSelectionInView(bar);
    EXPECT_EQ(list->Top(), -13) << "a row below the visible part: one row's step, no more";
    list->SetItemIndex(0);
    frame->KeepSelectionInView(bar);
    EXPECT_EQ(list->Top(), 0) << "a row above: one step back";

    TTListBoxFrame::ScrollKey(bar, VK_NEXT);
    EXPECT_EQ(list->Top(), -48) << "Page Down";
    TTListBoxFrame::ScrollKey(bar, VK_END);
    EXPECT_EQ(list->Top(), -(20 * 13 - 130)) << "End: the last row at the frame's bottom";
    TTListBoxFrame::ScrollKey(bar, VK_PRIOR);
    EXPECT_EQ(list->Top(), -(20 * 13 - 130) + 48) << "Page Up";
    TTListBoxFrame::ScrollKey(bar, VK_HOME);
    EXPECT_EQ(list->Top(), 0) << "Home";

    TTListBoxFrame::ScrollKey(bar, VK_END);
    for (int i = 19; i >= 5; --i)
        list->Items.Delete(i);
    frame->FitRows(bar);
    EXPECT_FALSE(bar->Visible()) << "five rows need no bar";
    EXPECT_EQ(list->Top(), 0) << "and the list is back at the start";
}
