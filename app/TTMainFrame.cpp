#include "TTMainFrame.h"

#include "MainLayout.h"

using namespace MainLayout;

TTMainFrame::TTMainFrame(TComponent* owner) : TFrame(owner)
{
    Name = "MainFrame";
    Color = PageColor;
    SetBounds(0, 0, MainFrame.Width, MainFrame.Height);
    IETFrame1 = new TIETFrame(this);
    IETFrame1->SetParent(this);
    WinTFrame1 = new TWinTFrame(this);
    WinTFrame1->SetParent(this);
    NetTFrame1 = new TNetTFrame(this);
    NetTFrame1->SetParent(this);
    // Windows first, then Internet Explorer, then Netscape: the window restacks them so.
    WinTFrame1->SetTop(0);
    IETFrame1->SetTop(WinTFrame1->Height());
    NetTFrame1->SetTop(IETFrame1->Top() + IETFrame1->Height());
}
