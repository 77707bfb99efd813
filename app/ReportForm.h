#pragma once
// The report of the last cleaning run: the run log's lines as rows sorted by the list,
// under a fixed header, each row split into time, operation, size and result columns. The
// log is read once, when the window is made; nothing is written.
#include "TSkinnedForm.h"

#include <string>
#include <vector>

class TReportFm : public TSkinnedForm {
public:
    explicit TReportFm(TComponent* owner);
    ~TReportFm() override;

    TTListBoxFrame* ListBoxFrame1;
    TStretchScroll* StretchScroll1;
    TMyGraphicBtn* MyGraphicBtn1;   // Close

    static const char* const Header;
    // The run log beside the program.
    static std::string LogPath();
    // The fields that runs of three blanks end (overlapping runs each end one, and a run
    // needs two characters after it), and the text from the last field's start on.
    static void SplitRow(const std::string& text, std::vector<std::string>& fields, std::string& rest);
    // Row n of rowCount in r: columns at 2, 55, 228 and the rest at 275, bold when first or
    // last, and the column lines down the whole list's height.
    static void DrawRow(TCanvas& canvas, int n, const RECT& r, const std::string& text, int rowCount, int listHeight);

    void FormMouseWheelDown(TObject* sender, TShiftState shift, POINT mousePos, bool& handled);
    void FormMouseWheelUp(TObject* sender, TShiftState shift, POINT mousePos, bool& handled);

private:
    void FillReportList();
};

extern TReportFm* ReportFm;
