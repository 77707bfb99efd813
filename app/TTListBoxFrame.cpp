#include "TTListBoxFrame.h"

TTListBoxFrame::TTListBoxFrame(TComponent* owner) : TFrame(owner)
{
    Name = "TListBoxFrame";
    ListBox1 = new TListBox(this);
    ListBox1->Name = "ListBox1";
    ListBox1->ItemHeight = 13;
    ListBox1->SetParent(this);
}

void TTListBoxFrame::FitRows(TStretchScroll* bar)
{
    ListBox1->SetHeight(ListBox1->ItemHeight * ListBox1->Items.Count());
    UpdateScrollRange(bar);
}

void TTListBoxFrame::UpdateScrollRange(TStretchScroll* bar)
{
    bar->SetControlWH(ListBox1->Height() - Height());
}

void TTListBoxFrame::FollowBar(TStretchScroll* bar)
{
    ListBox1->SetTop(bar->SControlPosition() - bar->Top());
}

void TTListBoxFrame::KeepSelectionInView(TStretchScroll* bar)
{
    int rowTop = ListBox1->ItemIndex() * ListBox1->ItemHeight;
    if (rowTop < -ListBox1->Top())
        bar->StepUp();
    if (Height() - ListBox1->Top() - ListBox1->ItemHeight < rowTop)
        bar->StepDown();
}

void TTListBoxFrame::ScrollKey(TStretchScroll* bar, WORD key)
{
    switch (key) {
    case VK_HOME:
        bar->MoveTop();
        break;
    case VK_END:
        bar->MoveBottom();
        break;
    case VK_NEXT:
        bar->StepLDown();
        break;
    case VK_PRIOR:
        bar->StepLUp();
        break;
    default:
        break;
    }
}
