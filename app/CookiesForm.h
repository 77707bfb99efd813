#pragma once
// The window in which the user picks which cookies of one browser survive cleaning: on the
// left the cookies a run will delete, on the right the keep list. The lists of the window's
// own cleaner are its model; row i of each list box shows entry i of its list.
#include "CCookiesClass.h"
#include "TSkinnedForm.h"

#include <memory>
#include <string>
#include <vector>

class TCookiesFm : public TSkinnedForm {
public:
    explicit TCookiesFm(TComponent* owner);
    ~TCookiesFm() override;

    TTListBoxFrame* ListBoxFrame1;   // delete
    TStretchScroll* StretchScroll1;
    TTListBoxFrame* ListBoxFrame2;   // keep
    TStretchScroll* StretchScroll2;
    TMyGraphicBtn* MyGraphicBtn2;    // to keep
    TMyGraphicBtn* MyGraphicBtn3;    // back to delete
    TMyGraphicBtn* MyGraphicBtn4;    // OK
    TMyGraphicBtn* MyGraphicBtn5;    // Cancel
    TMyGraphicBtn* MyGraphicBtn1;    // close

    // 0 Internet Explorer, 1 Netscape 6 / Mozilla: makes the cleaner and fills both lists.
    void SetBrowser(unsigned char kind);
    unsigned char Kind() const { return FKind; }
    CCookiesClass* Cleaner() const { return FCleaner.get(); }
    // The row that shows an entry of that kind's cookie list.
    static std::string RowText(const std::string& entry, unsigned char kind);
    // Drops every found entry equal to a kept one (compared whole, case-sensitive).
    static void DropKept(std::vector<std::string>& found, const std::vector<std::string>& kept);

    void MyGraphicBtn2Click(TObject* sender);
    void MyGraphicBtn3Click(TObject* sender);
    void MyGraphicBtn4Click(TObject* sender);
    void MyGraphicBtn1Click(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);
    void FormMouseWheelDown(TObject* sender, TShiftState shift, POINT mousePos, bool& handled);
    void FormMouseWheelUp(TObject* sender, TShiftState shift, POINT mousePos, bool& handled);

private:
    void FillKeepList();
    void FillDeleteList();
    // One entry from a list to the end of the other, its row copied along.
    static void Move(TStringList& from, TStringList& to, TTListBoxFrame* fromFrame, TStretchScroll* fromBar,
                     TTListBoxFrame* toFrame, TStretchScroll* toBar);
    TStretchScroll* BarUnder(POINT mousePos);

    unsigned char FKind = 0;
    std::unique_ptr<CCookiesClass> FCleaner;
};

extern TCookiesFm* CookiesFm;
