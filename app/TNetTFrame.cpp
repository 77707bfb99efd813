#include "TNetTFrame.h"

using namespace MainLayout;
namespace L = MainLayout::NetTFrame;

TNetTFrame::TNetTFrame(TComponent* owner) : TGroupFrame(owner)
{
    Name = "NetTFrame1";
    SetBounds(0, 0, FrameWidth, L::ExpandedHeight);
    Image1 = MakePicture(FrameHeaderPicture, Header::Image);
    MyGraphicBtn1 = MakeGroupIcon(NetscapeIcon);
    MyRndRectBtn1 = MakeItem("MyRndRectBtn1", 1, "History", false, L::MyRndRectBtn1);
    MyRndRectBtn2 = MakeItem("MyRndRectBtn2", 2, "Address Bar", false, L::MyRndRectBtn2);
    MyRndRectBtn3 = MakeItem("MyRndRectBtn3", 3, "Cache", false, L::MyRndRectBtn3);
    MyRndRectBtn4 = MakeItem("MyRndRectBtn4", 4, "Cookies", false, L::MyRndRectBtn4);
    MyRndRectBtn5 = MakeItem("MyRndRectBtn5", 5, "Saved Passwords", false, L::MyRndRectBtn5);
    MyRndRectBtn = MakeGroupBox(false);
    MyRndRectBtn6 = MakeHeader("MyRndRectBtn6", "Netscape 6x / Mozilla",
                               "Netscape group. Click left mouse button                      to view/hide all  elements in this group",
                               false);
    MyRndRectBtn6->OnClick = [this](TObject* s) { MyRndRectBtn6Click(s); };
    MyGraphicBtn2 = MakeFrameButton("MyGraphicBtn2", SelectCookiesFirst, "", L::MyGraphicBtn2);
}

void TNetTFrame::MyRndRectBtn6Click(TObject* sender)
{
    HeaderClick(sender, ExFrame, "Netscape 6x");
}
