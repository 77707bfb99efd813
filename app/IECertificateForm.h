#pragma once
// The certificates of the current user's four system stores: one store at a time as a
// sorted list, the details of the selected certificate below it, and its removal after a
// question. Expired certificates are listed in red.
#include "IECertificateClass.h"
#include "MyRndRectBtn.h"
#include "TSkinnedForm.h"

#include <string>

class TIECertFm : public TSkinnedForm {
public:
    explicit TIECertFm(TComponent* owner);
    ~TIECertFm() override;

    TMyRndRectBtn* MyRndRectBtn4;   // "MY"
    TMyRndRectBtn* MyRndRectBtn3;   // "root"
    TMyRndRectBtn* MyRndRectBtn2;   // "trust"
    TMyRndRectBtn* MyRndRectBtn1;   // "CA"
    TMyGraphicBtn* MyGraphicBtn2;   // remove
    TMyGraphicBtn* MyGraphicBtn1;   // close
    TMyGraphicBtn* MyGraphicBtn3;   // close, in the title bar's corner
    TStretchScroll* StretchScroll1;
    TTListBoxFrame* ListBoxFrame1;  // the certificates
    TTListBoxFrame* ListBoxFrame2;  // the details

    CIECertificateClass& Cleaner() { return FCleaner; }
    // The record behind a row of the certificate list, or null.
    TCertInfo* Record(int row) const;
    // "d/m/yyyy" of a stored time, without leading zeros.
    static std::string DateText(const SYSTEMTIME& t);

    void ChooseStore(unsigned char index);
    void ShowCertificates();
    void UpdateScrollRange();
    void ListBoxFrame1ListBox1Click(TObject* sender);
    void ListBoxFrame1ListBox1DrawItem(TObject* sender, int index, RECT rect, TOwnerDrawState state);
    void ListBoxFrame2ListBox1DrawItem(TObject* sender, int index, RECT rect, TOwnerDrawState state);
    void DrawCertificateRow(int index, const RECT& rect);
    void MyGraphicBtn2Click(TObject* sender);
    void FormMouseWheelDown(TObject* sender, TShiftState shift, POINT mousePos, bool& handled);
    void FormMouseWheelUp(TObject* sender, TShiftState shift, POINT mousePos, bool& handled);

private:
    TMyRndRectBtn* MakeStoreButton(const char* name, const char* caption, int top, int width, TImageList* list);
    TMyRndRectBtn* FStoreButtons[4] = {};
    CIECertificateClass FCleaner;
    int FLastRow = 0;
    RECT FLastRect = {};
};

extern TIECertFm* IECertFm;
