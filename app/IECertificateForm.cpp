#include "IECertificateForm.h"

#include "Dialogs.h"
#include "Tifacecreator.h"

TIECertFm* IECertFm = nullptr;

namespace {
const TColor ListColor = RGB(223, 227, 241);
const TColor DetailsColor = RGB(193, 202, 232);
const TColor StoreColor = RGB(181, 181, 181);
const TColor Navy = RGB(0, 0, 128);
const int DetailRows = 5;
}

TIECertFm::TIECertFm(TComponent* owner) : TSkinnedForm(owner)
{
    Name = "IECertFm";
    SetCaption("IECertFm");
    Position = poOwnerFormCenter;
    MakeSkin("CERTSKIN", 442, 303);
    TImageList* radios = MakeImageList("RadioBtnImageList", "RADIOBUTTONS", 15, 15);
    TImageList* buttons = MakeImageList("ButtonsImageList", "CLOSEBUTTONS", 70, 21);
    TImageList* scroll = MakeImageList("StretchScrollImageList", "SCROLLIMAGES", 15, 15);

    MyRndRectBtn4 = MakeStoreButton("MyRndRectBtn4", "My", 105, 43, radios);
    MyRndRectBtn3 = MakeStoreButton("MyRndRectBtn3", "Root", 130, 52, radios);
    MyRndRectBtn2 = MakeStoreButton("MyRndRectBtn2", "Trust", 156, 57, radios);
    MyRndRectBtn1 = MakeStoreButton("MyRndRectBtn1", "Ca", 182, 41, radios);
    MyRndRectBtn4->SetDown(true);
    TMyRndRectBtn* stores[4] = {MyRndRectBtn4, MyRndRectBtn3, MyRndRectBtn2, MyRndRectBtn1};
    for (unsigned char i = 0; i < 4; ++i) {
        FStoreButtons[i] = stores[i];
        stores[i]->OnClick = [this, i](TObject*) { ChooseStore(i); };
    }

    MyGraphicBtn2 = MakeButton("MyGraphicBtn2", buttons, 5, 4, 250, 278, 70, 17);
    MyGraphicBtn2->OnClick = [this](TObject* s) { MyGraphicBtn2Click(s); };
    MyGraphicBtn1 = MakeButton("MyGraphicBtn1", buttons, 3, 2, 353, 213, 68, 17);
    MyGraphicBtn1->OnClick = [this](TObject*) { Close(); };
    MyGraphicBtn3 = MakeButton("MyGraphicBtn3", buttons, 1, 1, 392, 1, 28, 18);
    MyGraphicBtn3->OnClick = [this](TObject*) { Close(); };

    StretchScroll1 = MakeScroll("StretchScroll1", scroll, 309, 56, 130);
    ListBoxFrame1 = MakeListFrame("ListBoxFrame1", 28, 56, 281, 130, ListColor);
    TListBox* list = ListBoxFrame1->ListBox1;
    // Wider than the frame, which clips it.
    list->SetBounds(5, 0, 291, 130);
    list->Sorted = true;
    list->Font.Color = clBlack;
    list->OnDrawItem = [this](TObject* s, int n, RECT r, TOwnerDrawState st) { ListBoxFrame1ListBox1DrawItem(s, n, r, st); };
    list->OnClick = [this](TObject* s) { ListBoxFrame1ListBox1Click(s); };
    list->OnKeyDown = [this](TObject*, WORD& key, TShiftState) { TTListBoxFrame::ScrollKey(StretchScroll1, key); };
    StretchScroll1->OnChanged = [this](TObject*) { ListBoxFrame1->FollowBar(StretchScroll1); };

    ListBoxFrame2 = MakeListFrame("ListBoxFrame2", 24, 201, 297, 71, DetailsColor);
    ListBoxFrame2->ListBox1->Font.Color = GetSysColor(COLOR_WINDOWTEXT);
    ListBoxFrame2->ListBox1->SetEnabled(false);
    ListBoxFrame2->ListBox1->OnDrawItem = [this](TObject* s, int n, RECT r, TOwnerDrawState st) {
        ListBoxFrame2ListBox1DrawItem(s, n, r, st);
    };
    for (int i = 0; i < DetailRows; ++i)
        ListBoxFrame2->ListBox1->Items.Add("");

    OnMouseWheelDown = [this](TObject* s, TShiftState sh, POINT p, bool& h) { FormMouseWheelDown(s, sh, p, h); };
    OnMouseWheelUp = [this](TObject* s, TShiftState sh, POINT p, bool& h) { FormMouseWheelUp(s, sh, p, h); };
    ShapeForm(this);
    ChooseStore(0);
}

TIECertFm::~TIECertFm()
{
    if (IECertFm == this)
        IECertFm = nullptr;
}

TMyRndRectBtn* TIECertFm::MakeStoreButton(const char* name, const char* caption, int top, int width, TImageList* list)
{
    auto* b = new TMyRndRectBtn(this);
    b->Name = name;
    b->SetBounds(360, top, width, 15);
    b->Font.Name = "Arial";
    b->Font.Height = -11;
    b->Font.Style = fsBold;
    b->Font.Color = RGB(97, 97, 97);
    b->Cursor = crHandPoint;
    b->SetParent(this);
    b->SetImageList(list);
    b->SetImageNumberOn(1);
    b->SetImageNumberOff(2);
    b->SetColorBG(StoreColor);
    b->SetCaption(caption);
    return b;
}

TCertInfo* TIECertFm::Record(int row) const
{
    TListBox* list = ListBoxFrame1->ListBox1;
    return row >= 0 && row < list->Items.Count() ? static_cast<TCertInfo*>(list->Items.Objects(row)) : nullptr;
}

std::string TIECertFm::DateText(const SYSTEMTIME& t)
{
    return std::to_string(t.wDay) + "/" + std::to_string(t.wMonth) + "/" + std::to_string(t.wYear);
}

void TIECertFm::ChooseStore(unsigned char index)
{
    // The chosen store's button stays down and takes no clicks, so it cannot be unchosen.
    for (unsigned char i = 0; i < 4; ++i) {
        FStoreButtons[i]->SetEnabled(i != index);
        if (i != index)
            FStoreButtons[i]->SetDown(false);
        FStoreButtons[i]->Invalidate();
    }
    FCleaner.LoadCertificates(index);
    ShowCertificates();
}

void TIECertFm::ShowCertificates()
{
    FLastRow = 0;
    FLastRect.top = 0;
    TListBox* list = ListBoxFrame1->ListBox1;
    list->Items.Clear();
    list->SetTop(0);
    for (int i = 0; i < FCleaner.Certificates.Count; ++i)
        list->Items.AddObject(FCleaner.Certificates[i]->Name, FCleaner.Certificates[i]);
    ListBoxFrame1->FitRows(StretchScroll1);
    if (list->Items.Count() > 0) {
        list->SetItemIndex(0);
        ListBoxFrame1ListBox1Click(list);
    } else {
        ListBoxFrame2->ListBox1->Items.Clear();
    }
}

void TIECertFm::UpdateScrollRange()
{
    ListBoxFrame1->UpdateScrollRange(StretchScroll1);
}

void TIECertFm::ListBoxFrame1ListBox1Click(TObject*)
{
    const TCertInfo* c = Record(ListBoxFrame1->ListBox1->ItemIndex());
    if (!c)
        return;
    const std::string rows[DetailRows] = {
        "S/N: " + c->SerialNumber,
        "Signature Algorithm: " + c->SignatureAlgorithm,
        "Owner: " + c->Subject,
        "Obtainer: " + c->Issuer,
        "Valid from:  " + DateText(c->NotBefore) + "  to  " + DateText(c->NotAfter),
    };
    TListBoxItems& details = ListBoxFrame2->ListBox1->Items;
    for (int i = 0; i < DetailRows; ++i) {
        if (i < details.Count())
            details.Delete(i);
        details.Insert(i, rows[i]);
    }
    ListBoxFrame2->ListBox1->Invalidate();
    ListBoxFrame1->KeepSelectionInView(StretchScroll1);
}

void TIECertFm::ListBoxFrame1ListBox1DrawItem(TObject*, int index, RECT rect, TOwnerDrawState)
{
    // The row drawn before may have lost the selection since: it is drawn again first.
    if (FLastRow != index && Record(FLastRow))
        DrawCertificateRow(FLastRow, FLastRect);
    DrawCertificateRow(index, rect);
    FLastRow = index;
    FLastRect = rect;
}

void TIECertFm::DrawCertificateRow(int index, const RECT& rect)
{
    TListBox* list = ListBoxFrame1->ListBox1;
    TCanvas& c = list->Canvas;
    const TCertInfo* record = Record(index);
    if (index == list->ItemIndex()) {
        c.Font.Color = clWhite;
        c.Brush.Color = Navy;
    } else {
        c.Brush.Color = ListColor;
        c.Font.Color = record && !record->Valid ? RGB(255, 0, 0) : clBlack;
    }
    c.FillRect(rect);
    c.TextOut(rect.left + 2, rect.top, list->Items[index]);
}

void TIECertFm::ListBoxFrame2ListBox1DrawItem(TObject*, int index, RECT rect, TOwnerDrawState)
{
    TListBox* details = ListBoxFrame2->ListBox1;
    TCanvas& c = details->Canvas;
    c.Brush.Color = DetailsColor;
    c.Font.Color = details->Font.Color;
    if (const TCertInfo* record = Record(ListBoxFrame1->ListBox1->ItemIndex())) {
        if (record->Valid)
            c.Font.Color = clBlack;
        else if (index == 4)
            c.Font.Color = RGB(255, 0, 0);
    }
    c.FillRect(rect);
    c.TextOut(rect.left + 2, rect.top, details->Items[index]);
}

void TIECertFm::MyGraphicBtn2Click(TObject*)
{
    TListBox* list = ListBoxFrame1->ListBox1;
    int row = list->ItemIndex();
    const TCertInfo* record = Record(row);
    if (!record)
        return;
    // Only a Yes removes: a box closed any other way keeps the certificate.
    if (MessageDlg("Certificate " + list->Items[row] + " will be removed?", mtConfirmation, mbYesNo, Handle()) != mrYes)
        return;
    FCleaner.DeleteCertificate(*record);
    FCleaner.LoadCertificates(FCleaner.StoreIndex);
    ShowCertificates();
    int count = list->Items.Count();
    if (count > 0 && row == count) {
        if (StretchScroll1->Visible())
            StretchScroll1->MoveBottom();
        list->SetItemIndex(row - 1);
        ListBoxFrame1ListBox1Click(list);
    } else if (row >= 1 && row < count) {
        if (StretchScroll1->Visible())
            StretchScroll1->StepDown();
        list->SetItemIndex(row);
        ListBoxFrame1ListBox1Click(list);
    }
}

void TIECertFm::FormMouseWheelDown(TObject*, TShiftState, POINT, bool&)
{
    StretchScroll1->StepLDown();
}

void TIECertFm::FormMouseWheelUp(TObject*, TShiftState, POINT, bool&)
{
    StretchScroll1->StepLUp();
}
