#include "ReportForm.h"

#include "SysUtils.h"
#include "TApplication.h"
#include "TStringList.h"
#include "Tifacecreator.h"

TReportFm* ReportFm = nullptr;

const char* const TReportFm::Header = "Time   Operation   Size   Result";

namespace {
const TColor ListColor = RGB(223, 227, 241);
const int FieldX[] = {2, 55, 228};
const int RestX = 275;
const int LineX[] = {50, 223, 270};
}

TReportFm::TReportFm(TComponent* owner) : TSkinnedForm(owner)
{
    Name = "ReportFm";
    SetCaption("ReportFm");
    MakeSkin("REPORTSKIN", 368, 268);
    TImageList* buttons = MakeImageList("ButtonsImageList", "CLOSEBUTTONS", 70, 21);
    TImageList* scroll = MakeImageList("StretchScrollImageList", "SCROLLIMAGES", 15, 15);
    ListBoxFrame1 = MakeListFrame("ListBoxFrame1", 15, 20, 323, 214, ListColor);
    TListBox* list = ListBoxFrame1->ListBox1;
    // Wider than the frame, whose right edge clips it.
    list->SetWidth(350);
    list->Sorted = true;
    list->Font.Name = "MS Sans Serif";
    list->Font.Height = -11;
    list->Font.Color = clBlack;
    list->OnDrawItem = [this, list](TObject*, int n, RECT r, TOwnerDrawState) {
        DrawRow(list->Canvas, n, r, list->Items[n], list->Items.Count(), list->Height());
    };
    StretchScroll1 = MakeScroll("StretchScroll1", scroll, 338, 20, 214);
    StretchScroll1->OnChanged = [this](TObject*) { ListBoxFrame1->FollowBar(StretchScroll1); };
    list->OnClick = [this](TObject*) { ListBoxFrame1->KeepSelectionInView(StretchScroll1); };
    list->OnKeyDown = [this](TObject*, WORD& key, TShiftState) { TTListBoxFrame::ScrollKey(StretchScroll1, key); };
    MyGraphicBtn1 = MakeButton("MyGraphicBtn1", buttons, 3, 2, 280, 243, 68, 17);
    MyGraphicBtn1->OnClick = [this](TObject*) { Close(); };
    OnMouseWheelDown = [this](TObject* s, TShiftState sh, POINT p, bool& h) { FormMouseWheelDown(s, sh, p, h); };
    OnMouseWheelUp = [this](TObject* s, TShiftState sh, POINT p, bool& h) { FormMouseWheelUp(s, sh, p, h); };
    ShapeForm(this);
    FillReportList();
}

TReportFm::~TReportFm()
{
    if (ReportFm == this)
        ReportFm = nullptr;
}

std::string TReportFm::LogPath()
{
    return ChangeFileExt(Application->ExeName(), ".log");
}

void TReportFm::FillReportList()
{
    TListBox* list = ListBoxFrame1->ListBox1;
    std::string path = LogPath();
    if (FileExists(path)) {
        TStringList lines;
        lines.LoadFromFile(path);
        for (const std::string& line : lines.Items)
            list->Items.Add(line);
    }
    list->Items.Insert(0, Header);
    ListBoxFrame1->FitRows(StretchScroll1);
    list->SetItemIndex(0);
}

void TReportFm::SplitRow(const std::string& text, std::vector<std::string>& fields, std::string& rest)
{
    fields.clear();
    size_t start = 0;
    for (size_t p = 0; p + 5 <= text.size(); ++p) {
        if (text.compare(p, 3, "   ") != 0)
            continue;
        // A run that overlaps the one before ends an empty field.
        fields.push_back(p > start ? text.substr(start, p - start) : std::string());
        start = p + 3;
    }
    rest = start < text.size() ? text.substr(start) : std::string();
}

void TReportFm::DrawRow(TCanvas& canvas, int n, const RECT& r, const std::string& text, int rowCount, int listHeight)
{
    canvas.FillRect(r);
    bool bold = n == 0 || n == rowCount - 1;
    if (bold)
        canvas.Font.Style |= fsBold;
    std::vector<std::string> fields;
    std::string rest;
    SplitRow(text, fields, rest);
    for (size_t i = 0; i < fields.size() && i < 3; ++i)
        canvas.TextOut(FieldX[i], r.top, fields[i]);
    canvas.TextOut(RestX, r.top, rest);
    for (int x : LineX) {
        canvas.MoveTo(x, 0);
        canvas.LineTo(x, listHeight);
    }
    if (bold)
        canvas.Font.Style &= ~static_cast<unsigned>(fsBold);
}

void TReportFm::FormMouseWheelDown(TObject*, TShiftState, POINT, bool&)
{
    StretchScroll1->StepLDown();
}

void TReportFm::FormMouseWheelUp(TObject*, TShiftState, POINT, bool&)
{
    StretchScroll1->StepLUp();
}
