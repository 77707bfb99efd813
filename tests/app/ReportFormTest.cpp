#include "DialogTestSupport.h"
#include "MainForm.h"
#include "ReportForm.h"
#include "TRegistry.h"
#include "TestSupport.h"
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace testing_support;

namespace {

const TColor Back = RGB(223, 227, 241);

// Pixels of the text colour (black) between two columns of a row.
int Ink(TBitmap& b, int left, int right)
{
    return CountColor(b, Rect(left, 0, right, 13), clBlack);
}

}  // namespace

TEST(ReportRows, ThreeBlankRunsEndFieldsEvenWhenTheyOverlap)
{
    struct Case {
        const char* text;
        std::vector<std::string> fields;
        const char* rest;
    } cases[] = {
        {"Time   Operation   Size   Result", {"Time", "Operation", "Size"}, "Result"},
        {"10:00:01   Deleting", {"10:00:01"}, "Deleting"},
        {"a    bc", {"a", ""}, "bc"},
        {"a   b   c   d   ef", {"a", "b", "c", "d"}, "ef"},
        {"a   b", {}, "a   b"},   // the run needs two characters after it
        {"", {}, ""},
    };
    for (const Case& c : cases) {
        std::vector<std::string> fields;
        std::string rest;
        TReportFm::SplitRow(c.text, fields, rest);
        EXPECT_EQ(fields, c.fields) << "fields of \"" << c.text << "\"";
        EXPECT_EQ(rest, c.rest) << "rest of \"" << c.text << "\"";
    }
}

TEST(ReportRows, ColumnsLinesAndBoldAreWhereTheRowSaysInPixels)
{
    TBitmap b;
    b.SetSize(350, 13);
    TCanvas& c = b.Canvas();
    c.Font.Name = "MS Sans Serif";
    c.Font.Height = -11;
    c.Font.Color = clBlack;
    c.Brush.Color = Back;
    RECT r = Rect(0, 0, 350, 13);
    TReportFm::DrawRow(c, 1, r, "10:00:01   Deleting   1 Kb   Done...OK", 3, 13);
    for (int x : {50, 223, 270})
        EXPECT_EQ(CountColor(b, Rect(x, 0, x + 1, 13), clBlack), 13) << "column line at " << x;
    EXPECT_GT(Ink(b, 2, 50), 0) << "time at 2";
    EXPECT_GT(Ink(b, 55, 223), 0) << "operation at 55";
    EXPECT_EQ(Ink(b, 51, 55), 0) << "nothing before 55";
    EXPECT_GT(Ink(b, 228, 270), 0) << "size at 228";
    EXPECT_GT(Ink(b, 275, 350), 0) << "result at 275";
    int normal = Ink(b, 0, 350);

    TReportFm::DrawRow(c, 2, r, "10:00:01   Deleting   1 Kb   Done...OK", 3, 13);
    EXPECT_GT(Ink(b, 0, 350), normal) << "the last row is bold";
    TReportFm::DrawRow(c, 1, r, "10:00:01   Deleting   1 Kb   Done...OK", 3, 13);
    EXPECT_EQ(Ink(b, 0, 350), normal) << "and the style goes back to normal";

    TReportFm::DrawRow(c, 0, r, "Total", 1, 13);
    EXPECT_EQ(Ink(b, 2, 50), 0) << "a row without runs has no first column";
    EXPECT_GT(Ink(b, 275, 350), 0) << "it is drawn whole at 275";
}

class ReportWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveDisplay())
            GTEST_SKIP() << "no display";
    }
    void TearDown() override
    {
        if (Fm)
            Fm->Free();
        DeleteFileA(TReportFm::LogPath().c_str());
    }
    void WriteLog(int entries)
    {
        std::string text;
        for (int i = entries; i > 0; --i)
            text += "10:00:" + std::string(i < 10 ? "0" : "") + std::to_string(i) + "   Deleting   1 Kb   Done...OK\r\n";
        text += "Total   12 Kb\r\n";
        WriteFileBytes(TReportFm::LogPath(), text);
    }
    TReportFm* Fm = nullptr;
};

TEST_F(ReportWindowTest, TheHeaderLeadsTheSortedRowsAndTheBarComesAtSeventeen)
{
    Fm = NewForm<TReportFm>(nullptr);
    TListBox* list = Fm->ListBoxFrame1->ListBox1;
    ASSERT_EQ(list->Items.Count(), 1) << "no log: the header alone";
    EXPECT_EQ(list->ItemIndex(), 0) << "selected";
    EXPECT_FALSE(Fm->StretchScroll1->Visible()) << "no bar";
    Fm->Free();

    WriteLog(14);   // 14 entries, the total and the header: 16 rows
    Fm = NewForm<TReportFm>(nullptr);
    list = Fm->ListBoxFrame1->ListBox1;
    ASSERT_EQ(list->Items.Count(), 16);
    EXPECT_EQ(list->Items[0], TReportFm::Header) << "header first";
    EXPECT_EQ(list->Items[1].substr(0, 8), "10:00:01") << "entries sorted, not in file order";
    EXPECT_EQ(list->Items[15], "Total   12 Kb") << "the total last";
    EXPECT_FALSE(Fm->StretchScroll1->Visible()) << "16 rows fit";
    Fm->Show();
    EXPECT_TRUE(dialog_test::Snapshot(*Fm, "report_window.png"));
    Fm->Free();

    WriteLog(15);
    Fm = NewForm<TReportFm>(nullptr);
    list = Fm->ListBoxFrame1->ListBox1;
    EXPECT_EQ(list->Height(), 17 * 13);
    EXPECT_TRUE(Fm->StretchScroll1->Visible()) << "17 rows show the bar";
    Fm->StretchScroll1->MoveBottom();
    EXPECT_EQ(list->Top(), 214 - 17 * 13) << "End shows the last row at the frame's bottom";
}

TEST_F(ReportWindowTest, ALogOfAnyContentOpens)
{
    std::string text(100000, 'x');
    text += std::string("\r\nnul\0inside   a   row", 22) + "\r\n\r\nno end";
    WriteFileBytes(TReportFm::LogPath(), text);
    Fm = NewForm<TReportFm>(nullptr);
    TListBox* list = Fm->ListBoxFrame1->ListBox1;
    ASSERT_EQ(list->Items.Count(), 5) << "header and four lines";
    EXPECT_EQ(list->Items[1], "") << "the empty line sorts first after the header";
    Fm->Show();
    Pump();
}

TEST_F(ReportWindowTest, TheSettingsButtonOpensItUnderTheMainWindowAndAnUnreadableLogIsSaid)
{
    TRegistry(HKEY_CURRENT_USER).DeleteKey("Software\\Ostrand");
    MainFm = NewForm<TMainFm>(nullptr);
    WriteLog(3);
    POINT at = {-1, -1};
    dialog_test::Later([&] {
        if (!ReportFm)
            return;
        at = {ReportFm->Left(), ReportFm->Top()};
        ReportFm->MyGraphicBtn1->OnClick(nullptr);
    });
    MainFm->SettingsFrameMyRndRectBtn11Click(nullptr);
    EXPECT_EQ(at.x, MainFm->Left() + (MainFm->Width() - 368) / 2) << "centred across the main window";
    EXPECT_EQ(at.y, MainFm->Top() + 95) << "95 below its top";

    // A log held open without sharing cannot be read.
    HANDLE held = CreateFileA(TReportFm::LogPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    bool said = false, opened = false;
    dialog_test::Later([&] {
        HWND box = dialog_test::MessageBoxOfThisThread();
        said = box != nullptr;
        opened = ReportFm != nullptr;
        if (box)
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        if (ReportFm)
            ReportFm->Close();
    });
    MainFm->SettingsFrameMyRndRectBtn11Click(nullptr);
    CloseHandle(held);
    EXPECT_TRUE(said) << "the failure is shown";
    EXPECT_FALSE(opened) << "no window opens";
    MainFm->Free();
    MainFm = nullptr;
}
