#include "CookiesForm.h"

#include "CIECleanClass.h"
#include "CNetCleanClass.h"
#include "Exceptions.h"
#include "MainForm.h"
#include "Tifacecreator.h"

#include <algorithm>

TCookiesFm* CookiesFm = nullptr;

namespace {
const TColor DeleteListColor = RGB(223, 227, 241);
const TColor KeepListColor = RGB(193, 202, 232);
}

TCookiesFm::TCookiesFm(TComponent* owner) : TSkinnedForm(owner)
{
    Name = "CookiesFm";
    SetCaption("CookiesFm");
    Position = poOwnerFormCenter;
    MakeSkin("COOKIESSKIN", 420, 230);
    TImageList* buttons = MakeImageList("ButtonsImageList", "COOKIESBUTTONS", 71, 33);
    TImageList* scroll1 = MakeImageList("StretchScrollImageList1", "SCROLLIMAGES", 15, 15);
    TImageList* scroll2 = MakeImageList("StretchScrollImageList2", "SCROLLIMAGES", 15, 15);

    ListBoxFrame1 = MakeListFrame("ListBoxFrame1", 31, 63, 150, 130, DeleteListColor);
    ListBoxFrame1->ListBox1->SetHeight(121);
    StretchScroll1 = MakeScroll("StretchScroll1", scroll1, 182, 63, 130);
    ListBoxFrame2 = MakeListFrame("ListBoxFrame2", 243, 63, 135, 130, KeepListColor);
    ListBoxFrame2->ListBox1->SetHeight(121);
    StretchScroll2 = MakeScroll("StretchScroll2", scroll2, 378, 63, 130);
    StretchScroll1->OnChanged = [this](TObject*) { ListBoxFrame1->FollowBar(StretchScroll1); };
    StretchScroll2->OnChanged = [this](TObject*) { ListBoxFrame2->FollowBar(StretchScroll2); };
    ListBoxFrame1->ListBox1->OnClick = [this](TObject*) { ListBoxFrame1->KeepSelectionInView(StretchScroll1); };
    ListBoxFrame2->ListBox1->OnClick = [this](TObject*) { ListBoxFrame2->KeepSelectionInView(StretchScroll2); };
    ListBoxFrame1->ListBox1->OnKeyDown = [this](TObject*, WORD& key, TShiftState) {
        TTListBoxFrame::ScrollKey(StretchScroll1, key);
    };
    ListBoxFrame2->ListBox1->OnKeyDown = [this](TObject*, WORD& key, TShiftState) {
        TTListBoxFrame::ScrollKey(StretchScroll2, key);
    };

    MyGraphicBtn2 = MakeButton("MyGraphicBtn2", buttons, 3, 2, 207, 90, 25, 33);
    MyGraphicBtn2->OnClick = [this](TObject* s) { MyGraphicBtn2Click(s); };
    MyGraphicBtn3 = MakeButton("MyGraphicBtn3", buttons, 5, 4, 207, 123, 25, 33);
    MyGraphicBtn3->OnClick = [this](TObject* s) { MyGraphicBtn3Click(s); };
    MyGraphicBtn4 = MakeButton("MyGraphicBtn4", buttons, 7, 6, 248, 206, 71, 17);
    MyGraphicBtn4->OnClick = [this](TObject* s) { MyGraphicBtn4Click(s); };
    MyGraphicBtn5 = MakeButton("MyGraphicBtn5", buttons, 9, 8, 323, 206, 71, 17);
    MyGraphicBtn5->OnClick = [this](TObject* s) { MyGraphicBtn1Click(s); };
    MyGraphicBtn1 = MakeButton("MyGraphicBtn1", buttons, 1, 1, 367, 0, 28, 21);
    MyGraphicBtn1->OnClick = [this](TObject* s) { MyGraphicBtn1Click(s); };

    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
    OnMouseWheelDown = [this](TObject* s, TShiftState sh, POINT p, bool& h) { FormMouseWheelDown(s, sh, p, h); };
    OnMouseWheelUp = [this](TObject* s, TShiftState sh, POINT p, bool& h) { FormMouseWheelUp(s, sh, p, h); };
    ShapeForm(this);
}

TCookiesFm::~TCookiesFm()
{
    if (CookiesFm == this)
        CookiesFm = nullptr;
}

std::string TCookiesFm::RowText(const std::string& entry, unsigned char kind)
{
    // The last character is never the separator: "a@" stays as it is.
    char separator = kind == 1 ? '\t' : '@';
    size_t at = entry.find(separator);
    if (at == std::string::npos || at + 1 >= entry.size())
        return entry;
    if (kind == 1)
        return "cookie:  " + entry.substr(0, at);
    return "cookie:  " + entry.substr(at + 1, entry.size() - at - 2);
}

void TCookiesFm::SetBrowser(unsigned char kind)
{
    FKind = kind;
    if (kind == 1) {
        FCleaner.reset(new CNetCleanClass);
    } else {
        auto* cleaner = new CIECleanClass;
        FCleaner.reset(cleaner);
        // Shown empty, the list would be saved empty on OK and the next run would delete
        // every cookie the user meant to keep.
        if (!cleaner->KeepListError().empty())
            throw EFOpenError(cleaner->KeepListError());
    }
    FillKeepList();
    FillDeleteList();
}

void TCookiesFm::FillKeepList()
{
    TListBox* list = ListBoxFrame2->ListBox1;
    list->Items.Clear();
    if (FKind == 1) {
        // The profile a run would clean, whose list OK saves: with none chosen, none.
        int index = -1;
        std::string folder;
        if (MainFm)
            MainFm->ChosenProfile(index, folder);
        static_cast<CNetCleanClass&>(*FCleaner).ChooseProfile(index, folder);
    }
    FCleaner->ListCookies();
    for (const std::string& entry : FCleaner->CookiesToKeep.Items)
        list->Items.Add(RowText(entry, FKind));
    ListBoxFrame2->FitRows(StretchScroll2);
}

void TCookiesFm::DropKept(std::vector<std::string>& found, const std::vector<std::string>& kept)
{
    found.erase(std::remove_if(found.begin(), found.end(),
                               [&kept](const std::string& entry) {
                                   return std::find(kept.begin(), kept.end(), entry) != kept.end();
                               }),
                found.end());
}

void TCookiesFm::FillDeleteList()
{
    TListBox* list = ListBoxFrame1->ListBox1;
    list->Items.Clear();
    DropKept(FCleaner->FoundCookies.Items, FCleaner->CookiesToKeep.Items);
    for (const std::string& entry : FCleaner->FoundCookies.Items)
        list->Items.Add(RowText(entry, FKind));
    ListBoxFrame1->FitRows(StretchScroll1);
}

void TCookiesFm::Move(TStringList& from, TStringList& to, TTListBoxFrame* fromFrame, TStretchScroll* fromBar,
                      TTListBoxFrame* toFrame, TStretchScroll* toBar)
{
    TListBox* source = fromFrame->ListBox1;
    int i = source->ItemIndex();
    if (i < 0 || i >= from.Count())
        return;
    to.Add(from[i]);
    from.Delete(i);
    toFrame->ListBox1->Items.Add(source->Items[i]);
    toFrame->FitRows(toBar);
    source->Items.Delete(i);
    fromFrame->FitRows(fromBar);
    source->SetItemIndex(i < source->Items.Count() ? i : source->Items.Count() - 1);
    source->Invalidate();
}

void TCookiesFm::MyGraphicBtn2Click(TObject*)
{
    Move(FCleaner->FoundCookies, FCleaner->CookiesToKeep, ListBoxFrame1, StretchScroll1, ListBoxFrame2, StretchScroll2);
}

void TCookiesFm::MyGraphicBtn3Click(TObject*)
{
    Move(FCleaner->CookiesToKeep, FCleaner->FoundCookies, ListBoxFrame2, StretchScroll2, ListBoxFrame1, StretchScroll1);
}

void TCookiesFm::MyGraphicBtn4Click(TObject*)
{
    // A failed save leaves the window open with the user's lists: closed, it would look
    // saved while the next run deletes the cookies the user meant to keep.
    FCleaner->SaveCookiesToKeep();
    Close();
}

void TCookiesFm::MyGraphicBtn1Click(TObject*)
{
    Close();
}

void TCookiesFm::FormClose(TObject*, TCloseAction& action)
{
    FCleaner.reset();
    action = caFree;
}

TStretchScroll* TCookiesFm::BarUnder(POINT mousePos)
{
    return mousePos.x - Left() < Width() / 2 ? StretchScroll1 : StretchScroll2;
}

void TCookiesFm::FormMouseWheelDown(TObject*, TShiftState, POINT mousePos, bool&)
{
    BarUnder(mousePos)->StepLDown();
}

void TCookiesFm::FormMouseWheelUp(TObject*, TShiftState, POINT mousePos, bool&)
{
    BarUnder(mousePos)->StepLUp();
}
